#include "comments/word_wrapper.h"

#include "base/text.h"

namespace scrivlet {

std::vector<std::string> WordWrapper::makeWordWrapping(
    const std::vector<std::string>& lines, int maxLength) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const std::string& line : lines) {
    std::vector<std::string> pieces = getWrappedLine(line, maxLength);
    out.insert(out.end(), pieces.begin(), pieces.end());
  }
  return out;
}

std::vector<std::string> WordWrapper::makeWordWrapping(
    const std::vector<std::string>& lines, const ProjectSettings& settings) {
  return makeWordWrapping(lines, settings.wordWrapLength);
}

std::vector<std::string> WordWrapper::getWrappedLine(const std::string& line,
                                                     int maxLength) {
  std::vector<std::string> pieces;
  std::string rest = line;
  for (;;) {
    std::size_t p = breakPosition(rest, maxLength);
    if (p == 0) {
      pieces.push_back(rest);
      break;
    }
    pieces.push_back(rest.substr(0, p - 1));
    rest.erase(0, p);
    // A blank that ended the line breaks off nothing after it.
    if (rest.empty()) break;
  }
  return pieces;
}

// The last blank that leaves at most `maxLength` characters before it,
// spaces preferred to tabs; a word longer than the length stays whole and
// breaks at the first blank after it. 1-based; 0 for no break.
std::size_t WordWrapper::breakPosition(const std::string& line,
                                       int maxLength) {
  if (maxLength <= 0) return 0;
  auto max = static_cast<std::size_t>(maxLength);
  if (line.size() <= max) return 0;
  // Index `max` is the position just past the allowed length: a blank there
  // still leaves `max` characters in front.
  for (char blank : {' ', '\t'}) {
    std::size_t at = line.rfind(blank, max);
    if (at != std::string::npos) return at + 1;
  }
  for (char blank : {' ', '\t'}) {
    std::size_t at = line.find(blank, max);
    if (at != std::string::npos) return at + 1;
  }
  return 0;
}

std::vector<std::string> indentExampleComment() {
  return {"'**", "'@rem This is", "'an example", "'     of current",
          "''    indent mode"};
}

IndentExampleTexts indentExampleTexts(int indentMode) {
  if (indentMode == 1) {
    return {join({"This is", "  an example", "  of current",
                  "      indent mode"},
                 std::string(1, CR)),
            "This is an example of current indent mode",
            "This is an example of current     indent mode"};
  }
  return {join({"This is", "an example", "     of current", "'    indent mode"},
               std::string(1, CR)),
          "This is an example of current ' indent mode",
          "This is an example      of current '    indent mode"};
}

}  // namespace scrivlet
