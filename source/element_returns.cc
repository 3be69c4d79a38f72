#include "source/element_returns.h"

#include "base/text.h"
#include "source/proc_definition.h"
#include "source/quotes.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

// The declarators of a statement, split at the commas that stand outside
// string literals and parentheses: "Public a(1, 2) As Long, b" gives
// {"Public a(1, 2) As Long", " b"}.
std::vector<std::string> declarators(const std::string& statement) {
  std::vector<std::string> parts;
  int depth = 0;
  std::size_t from = 0;
  for (std::size_t i = 0; i < statement.size(); ++i) {
    char c = statement[i];
    if (c == '"') {
      std::size_t close = closingQuote(statement, i + 1);
      if (close == 0) break;
      i = close - 1;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      parts.push_back(statement.substr(from, i - from));
      from = i + 1;
    }
  }
  parts.push_back(statement.substr(from));
  return parts;
}

// "x() As Long" -> "x"; "LIMIT& = 5" -> "LIMIT".
std::string declaredName(const std::string& declarator) {
  std::string text = leftTrim(declarator);
  std::size_t end = text.find_first_of(" (=");
  std::string name = text.substr(0, end);
  if (!name.empty() && std::string("%&$@#!").find(name.back()) != std::string::npos)
    name.pop_back();
  return name;
}

// A statement that declares several variables or constants, narrowed to the
// one `name` stands for, so that each gets its own type or value:
// "Public a As Long, b As String" for b gives "Public b As String".
std::string declarationOf(const std::string& statement, const std::string& name) {
  std::string line = stripTrailingComment(statement);
  std::vector<std::string> parts = declarators(line);
  if (parts.size() < 2) return statement;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (!equalsNoCase(declaredName(parts[i]), name)) continue;
    std::size_t keywords = inStr(parts[0], "Const ") ? inStr(parts[0], "Const ") + 5 : 0;
    std::string prefix = keywords ? parts[0].substr(0, keywords) : "Dim ";
    return prefix + trim(parts[i]);
  }
  return parts[0];
}

}  // namespace

std::string getReturns(const Element& element) {
  ProcDefinition definition;
  definition.pLine = statementText(*element.cmo, element.CodeLocation());
  bool declaresValue = element.kind() == ElementKind::Sconstant ||
                       element.kind() == ElementKind::Svariable ||
                       (element.member && element.member->Type() == vbext_mt_Variable);
  if (declaresValue && element.member)
    definition.pLine = declarationOf(definition.pLine, element.member->Name());
  switch (element.kind()) {
    case ElementKind::Sconstant:
      definition.parseConstantReturn();
      break;
    case ElementKind::Svariable:
      definition.parseVariableReturn();
      break;
    case ElementKind::SpropGet:
      if (element.member && element.member->Type() == vbext_mt_Variable)
        definition.parseVariableReturn();
      else
        definition.parsePropGetReturn();
      break;
    default:
      return "";
  }
  return definition.returns;
}

}  // namespace scrivlet
