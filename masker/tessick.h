// The whole run of Tessick on its command line text.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace tessick {

// The message box of a failed run, as it is printed: the title on one line,
// the text on the next.
std::string errorMessage(std::string_view commandLine);

// Reads the command line text and masks the folder it names. A missing option
// value or a folder that cannot be listed writes errorMessage to `errors` and
// returns 1; otherwise 0, whatever happened to single files. A file that
// keeps its name because another one was renamed to it first is told on
// `errors`, one line each.
int runTessick(std::string_view commandLine, std::ostream& errors);

}  // namespace tessick
