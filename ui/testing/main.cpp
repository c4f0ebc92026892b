// wordbay-test: the program with its test hooks, for the tests. Never installed.
#include "ui/main/startup.h"
#include "ui/testing/startup_hooks.h"

int main(int argc, char** argv) { return runWordbay(argc, argv, startupTestHooks()); }
