#include "source/element_returns.h"

#include "source/proc_definition.h"
#include "source/source_lines.h"

namespace scrivlet {

std::string getReturns(const Element& element) {
  ProcDefinition definition;
  definition.pLine = statementText(*element.cmo, element.CodeLocation());
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
