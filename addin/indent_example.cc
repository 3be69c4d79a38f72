#include "addin/indent_example.h"

namespace scrivlet {

const std::array<std::string, 5>& IndentExample::commentLines() {
  static const std::array<std::string, 5> lines{
      "'**", "'@rem This is", "'an example", "'     of current",
      "''    indent mode"};
  return lines;
}

// HTML folds every run of blanks into one; RTF keeps them, which is why
// the two renderings differ.
IndentExample::IndentExample(int indentMode) {
  if (indentMode == 1) {
    outputFile = "This is\r  an example\r  of current\r      indent mode";
    htmlLooks = "This is an example of current indent mode";
    rtfLooks = "This is an example of current     indent mode";
  } else {
    outputFile = "This is\ran example\r     of current\r'    indent mode";
    htmlLooks = "This is an example of current ' indent mode";
    rtfLooks = "This is an example      of current '    indent mode";
  }
}

}  // namespace scrivlet
