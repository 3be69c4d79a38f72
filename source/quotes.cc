#include "source/quotes.h"

#include "base/text.h"

namespace scrivlet {

std::size_t findOutsideQuotes(std::string_view text, std::string_view pattern,
                              std::size_t start) {
  std::size_t pos = start == 0 ? 1 : start;
  while (pos <= text.size()) {
    if (text.substr(pos - 1, pattern.size()) == pattern) return pos;
    if (text[pos - 1] == '"') {
      pos = closingQuote(text, pos);
      if (pos == 0) return 0;
    }
    ++pos;
  }
  return 0;
}

std::size_t closingQuote(std::string_view text, std::size_t pos) {
  for (std::size_t i = pos + 1; i <= text.size(); ++i) {
    if (text[i - 1] != '"') continue;
    if (i < text.size() && text[i] == '"') {
      ++i;  // a doubled quote is a quote character inside the literal
      continue;
    }
    return i;
  }
  return 0;
}

std::string stripTrailingComment(std::string_view line) {
  std::size_t at = findOutsideQuotes(line, "'", 1);
  if (at != 0) line = line.substr(0, at - 1);
  return rightTrim(line);
}

}  // namespace scrivlet
