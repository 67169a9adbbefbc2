// The program's entry point.
#include "shell/startup.h"

int main(int argc, char** argv) { return win_main(argc, argv); }
