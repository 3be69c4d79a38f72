#include "source/argument.h"

#include <string_view>

#include "base/text.h"
#include "source/quotes.h"

namespace scrivlet {

namespace {

// The text from 1-based position `pos` on; empty past the end.
std::string_view from(std::string_view text, std::size_t pos) {
  return pos > text.size() ? std::string_view() : text.substr(pos - 1);
}

bool has(std::string_view text, std::string_view word) {
  return findOutsideQuotes(text, word, 1) != 0;
}

// The type named by a trailing type character ("n%" is an Integer), or
// nullptr when `c` is none.
const char* typeOfCharacter(char c) {
  switch (c) {
    case '%': return "Integer";
    case '&': return "Long";
    case '$': return "String";
    case '@': return "Currency";
    case '#': return "Double";
    case '!': return "Single";
    default: return nullptr;
  }
}

std::string typeAfterAs(std::string_view text, bool wholeTypeClause) {
  std::size_t as = findOutsideQuotes(text, " As ", 1);
  if (as == 0) return "Variant";
  std::string_view type = from(text, as + 4);
  if (!wholeTypeClause) {
    std::size_t space = findOutsideQuotes(text, " ", as + 4);
    if (space != 0) type = text.substr(as + 3, space - (as + 4));
  }
  return trim(type);
}

}  // namespace

void argument::parse(std::string text) { parseWith(std::move(text), false); }

void argument::parseVariable(std::string text) {
  parseWith(std::move(text), true);
}

void argument::parseWith(std::string text, bool wholeTypeClause) {
  bool passing = has(text, "ByRef ");
  aByVal = has(text, "ByVal ");
  passing = passing || aByVal;
  aOptional = has(text, "Optional ");
  pArray = has(text, "ParamArray ");
  aType = typeAfterAs(text, wholeTypeClause);

  // The environment writes modifiers in front of the name, always in full.
  std::size_t skip =
      (aOptional ? 9 : 0) + (passing ? 6 : 0) + (pArray ? 11 : 0);
  text = leftTrim(from(text, skip + 1));

  std::size_t space = findOutsideQuotes(text, " ", 1);
  aName = space == 0 ? text : text.substr(0, space - 1);
  if (!aName.empty()) {
    if (const char* type = typeOfCharacter(aName.back())) {
      aName.pop_back();
      if (aType == "Variant") aType = type;
    }
  }

  std::size_t equals = findOutsideQuotes(text, "= ", 1);
  aDefault = equals == 0 ? std::string() : trim(from(text, equals + 2));
  if (pArray) aOptional = true;
}

}  // namespace scrivlet
