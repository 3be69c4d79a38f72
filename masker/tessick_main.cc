// Tessick: masks every byte above 127 in the names and contents of a folder's
// files. Usage: tessick [/d folder] [/e ext1,ext2,...] [/b | /n | /c]
#include <iostream>
#include <string>
#include <vector>

#include "masker/command_line.h"
#include "masker/tessick.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tessick::runTessick(tessick::joinArguments(arguments), std::cerr);
}
