#include "app/Startup.h"

#include <csignal>

int main(int argc, char** argv) {
    // A reader that went away (a closed pipe) must not end a conversion: writes
    // to it fail instead, and the work and the exit status stay as they are.
    std::signal(SIGPIPE, SIG_IGN);
    return tarvix::RunApplication(argc, argv);
}
