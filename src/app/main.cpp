#include "app/Startup.h"

int main(int argc, char** argv) {
    return tarvix::RunApplication(argc, argv);
}
