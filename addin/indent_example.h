// What the "Indentation example" window shows: a fixed sample comment and
// what each comment indent mode makes of it in the documentation.
#ifndef SCRIVLET_ADDIN_INDENT_EXAMPLE_H_
#define SCRIVLET_ADDIN_INDENT_EXAMPLE_H_

#include <array>
#include <string>

namespace scrivlet {

struct IndentExample {
  // The sample comment, one line per label, as it stands in the code.
  static const std::array<std::string, 5>& commentLines();

  // The three texts for `indentMode` (1 ignores the indent; any other value
  // keeps it). The file's lines are joined with single CRs.
  explicit IndentExample(int indentMode);
  std::string outputFile;  // "Output going to documentation file:"
  std::string htmlLooks;   // "How it looks in CHM and HTML:"
  std::string rtfLooks;    // "How it looks in RTF and HLP:"
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_INDENT_EXAMPLE_H_
