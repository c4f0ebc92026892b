// wordbay: the bilingual dictionary program.
#include "ui/main/startup.h"

int main(int argc, char** argv) { return runWordbay(argc, argv); }
