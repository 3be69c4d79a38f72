// The scrivlet program.
#include "cli/command.h"

int main(int argc, char** argv) { return scrivlet::runScrivlet(argc, argv); }
