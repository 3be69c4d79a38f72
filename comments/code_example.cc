#include "comments/code_example.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace scrivlet {

std::string copySelectionAsCode(const CodeModule& module, long startLine,
                                long startColumn, long endLine,
                                long endColumn) {
  if (std::make_pair(endLine, endColumn) < std::make_pair(startLine, startColumn)) {
    std::swap(startLine, endLine);
    std::swap(startColumn, endColumn);
  }
  bool wholeLine = startLine == endLine && startColumn == endColumn;
  if (wholeLine) startColumn = 1;

  std::string text = "'$CODE$";
  text += CR;
  for (long n = startLine; n <= endLine; ++n) {
    std::string line = module.Lines(n, 1);
    if (n == endLine && !wholeLine)
      line.resize(std::min<std::size_t>(line.size(),
                                        static_cast<std::size_t>(std::max(endColumn - 1, 0L))));
    if (n == startLine)
      line.erase(0, std::min<std::size_t>(line.size(),
                                           static_cast<std::size_t>(std::max(startColumn - 1, 0L))));
    if (n != endLine) line += "$EOL$";
    text += "'" + line + CR;
  }
  return text + "'$END-CODE$";
}

}  // namespace scrivlet
