#include "compiler/macro_name.h"

namespace scrivlet {

MacroName readMacroName(std::string_view text, std::size_t dollar) {
  MacroName result;
  std::size_t i = dollar + 1;
  while (i < text.size()) {
    char c = text[i];
    if (c == '$') {
      result.name = text.substr(dollar + 1, i - dollar - 1);
      result.end = i + 1;
      result.closed = true;
      return result;
    }
    if (c == ' ' || c == '\t' || c == '\r') break;
    ++i;
  }
  result.name = text.substr(dollar + 1, i - dollar - 1);
  result.end = i;
  result.quoted = text.substr(dollar, i - dollar);
  return result;
}

std::string wrongMacroNameMessage(std::string_view quoted) {
  return "WARNING (config file): Wrong macro name " + std::string(quoted) +
         ".";
}

}  // namespace scrivlet
