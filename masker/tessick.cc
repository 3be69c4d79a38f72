#include "masker/tessick.h"

#include <exception>
#include <string>
#include <vector>

#include "masker/command_line.h"
#include "masker/folder_masker.h"

namespace tessick {

std::string errorMessage(std::string_view commandLine) {
  std::string message = "Tessick ERROR\nProbably too many parameters: ";
  message += commandLine;
  message += '\n';
  return message;
}

int runTessick(std::string_view commandLine, std::ostream& errors) {
  bool ok = false;
  std::vector<std::string> notices;
  try {
    auto options = readOptions(splitArguments(commandLine));
    ok = options && maskFolder(*options, notices);
  } catch (const std::exception&) {
    // Any other failure (out of memory, say) ends the run with the same box.
  }
  for (const std::string& notice : notices)
    errors << notice << '\n';
  if (ok)
    return 0;
  errors << errorMessage(commandLine) << std::flush;
  return 1;
}

}  // namespace tessick
