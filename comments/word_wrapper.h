// Breaks comment lines that are longer than the wrap length into several
// lines, at blanks. The length counts the text of a comment line only; the
// indent and apostrophe written in front of it in the code do not count.
// Pieces of a tag line become continuation lines of that tag when the
// comment is read again.
//
// Also the texts that show the user what the two indent modes make of a
// sample comment.
#ifndef SCRIVLET_COMMENTS_WORD_WRAPPER_H_
#define SCRIVLET_COMMENTS_WORD_WRAPPER_H_

#include <string>
#include <vector>

#include "base/project_settings.h"

namespace scrivlet {

class WordWrapper {
 public:
  // Every line replaced by its pieces, in order. A length of zero or less
  // means wrapping is off and the lines come back unchanged.
  static std::vector<std::string> makeWordWrapping(
      const std::vector<std::string>& lines, int maxLength);
  // As above with the length `wordWrapLength`, which the editor stores
  // negated while wrapping is switched off.
  static std::vector<std::string> makeWordWrapping(
      const std::vector<std::string>& lines, const ProjectSettings& settings);

  // The pieces of one line, at least one. Each break drops the one blank it
  // happens at; other blanks stay. With length 10:
  //   "aaaa bbbb cccc"      -> {"aaaa bbbb", "cccc"}
  //   "abcdefghijklmno pq"  -> {"abcdefghijklmno", "pq"}
  //   ""                    -> {""}
  static std::vector<std::string> getWrappedLine(const std::string& line,
                                                 int maxLength);

 private:
  static std::size_t breakPosition(const std::string& line, int maxLength);
};

// What the sample comment
//     '**
//     '@rem This is
//     'an example
//     '     of current
//     ''    indent mode
// becomes under an indent mode, as the indent example shows it.
struct IndentExampleTexts {
  // "Output going to documentation file:", lines joined with CR.
  std::string documentationFile;
  // "How it looks in CHM and HTML:"
  std::string chmAndHtml;
  // "How it looks in RTF and HLP:"
  std::string rtfAndHlp;
};

// The sample comment's source lines, top to bottom, apostrophes included.
std::vector<std::string> indentExampleComment();
IndentExampleTexts indentExampleTexts(int indentMode);

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_WORD_WRAPPER_H_
