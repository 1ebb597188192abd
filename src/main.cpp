#include "app/Startup.h"
#include "ui/WindowedMain.h"

int main(int argc, char** argv) { return tarvix::RunApplication(argc, argv, tarvix::RunWindowed); }
