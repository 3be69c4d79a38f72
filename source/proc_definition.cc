#include "source/proc_definition.h"

#include "base/text.h"
#include "source/quotes.h"

namespace scrivlet {

namespace {

std::string_view from(std::string_view text, std::size_t pos) {
  return pos > text.size() ? std::string_view() : text.substr(pos - 1);
}

// The text strictly between 1-based positions `open` and `close`.
std::string_view between(std::string_view text, std::size_t open,
                         std::size_t close) {
  if (open == 0 || close <= open + 1 || close > text.size() + 1) return {};
  return text.substr(open, close - open - 1);
}

const char* typeCharacter(std::string_view type) {
  if (type == "Integer") return "%";
  if (type == "Long") return "&";
  if (type == "Currency") return "@";
  if (type == "Double") return "#";
  if (type == "Single") return "!";
  return "";
}

}  // namespace

void ProcDefinition::parse() {
  pLine = stripTrailingComment(pLine);
  pType = kindWord();
  returns = returnType();
  args = parseArgs();
}

void ProcDefinition::parsePropGetReturn() {
  pType = "Property Get";
  returns = returnType();
}

void ProcDefinition::parseVariableReturn() {
  std::size_t as = inStr(pLine, " As ");
  if (as == 0) {
    returns = "Variant";
    return;
  }
  returns = leftTrim(stripTrailingComment(from(pLine, as + 4)));
  if (startsWith(returns, "New ")) returns.erase(0, 4);
}

void ProcDefinition::parseConstantReturn() {
  returns.clear();
  std::size_t at = inStr(pLine, "Const ");
  if (at == 0) return;
  argument declarator;
  declarator.parse(stripTrailingComment(leftTrim(from(pLine, at + 6))));
  returns = typeCharacter(declarator.aType) + declarator.aDefault;
}

std::vector<argument> ProcDefinition::parseArgs() {
  std::vector<argument> list;
  std::size_t close = endOfArgs();
  if (close == 0) return list;
  std::string rest(between(pLine, inStr(pLine, "("), close));
  // The environment separates arguments by ", "; a bare comma belongs to a
  // default value.
  while (!rest.empty()) {
    std::size_t comma = findOutsideQuotes(rest, ", ", 1);
    std::string text = comma == 0 ? rest : rest.substr(0, comma - 1);
    rest = comma == 0 ? std::string() : std::string(from(rest, comma + 2));
    list.emplace_back().parse(std::move(text));
  }
  return list;
}

std::size_t ProcDefinition::endOfArgs() {
  if (endOfArgs_ < 0) {
    endOfArgs_ =
        static_cast<long>(findTerminatingParenth(pLine, inStr(pLine, "(")));
  }
  return static_cast<std::size_t>(endOfArgs_);
}

// Each pass pairs one "(" found after the opening one with one further ")",
// which passes over "x() As Long, y() As String". It is not a general
// nesting counter.
std::size_t ProcDefinition::findTerminatingParenth(std::string_view text,
                                                   std::size_t start) {
  if (start == 0) return 0;
  std::size_t close = findOutsideQuotes(text, ")", start);
  std::size_t next = start + 1;
  while (close != 0) {
    std::size_t open = findOutsideQuotes(text, "(", next);
    next = close + 2;
    if (open == 0 || open >= close) break;
    close = findOutsideQuotes(text, ")", close + 1);
  }
  return close;
}

// The kind is read from the text before the first "(": a parameterless
// event has none and so is an "Event", as is anything unrecognised.
std::string ProcDefinition::kindWord() const {
  std::size_t open = inStr(pLine, "(");
  std::string head =
      open == 0 ? std::string()
                : rightTrim(std::string_view(pLine).substr(0, open - 1));
  for (const char* word : {"Sub", "Function", "Property Get", "Property Set",
                           "Property Let", "Event"}) {
    if (inStr(head, std::string(word) + " ") != 0) return word;
  }
  return "Event";
}

std::string ProcDefinition::returnType() {
  std::string_view tail = from(pLine, endOfArgs() + 1);
  std::size_t as = inStr(tail, " As ");
  if (as != 0) return leftTrim(from(tail, as + 4));
  if (pType == "Function" || pType == "Property Get") return "Variant";
  return "";
}

}  // namespace scrivlet
