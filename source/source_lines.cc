#include "source/source_lines.h"

#include <algorithm>

#include "base/text.h"
#include "source/element_locator.h"

namespace scrivlet {

namespace {

bool continues(const CodeModule& module, long line) {
  if (const std::vector<long>* continued = module.continuedLines())
    return std::binary_search(continued->begin(), continued->end(), line);
  return endsWith(module.Lines(line, 1), " _");
}

std::shared_ptr<Element> propertyElement(int procKind) {
  switch (procKind) {
    case vbext_pk_Let: return makeElement(ElementKind::SpropLet);
    case vbext_pk_Set: return makeElement(ElementKind::SpropSet);
    case vbext_pk_Get: return makeElement(ElementKind::SpropGet);
    default: return nullptr;
  }
}

std::shared_ptr<Element> withMember(std::shared_ptr<Element> element,
                                    CodeModule& module,
                                    const std::shared_ptr<Member>& member) {
  if (element) {
    element->member = member;
    element->cmo = &module;
  }
  return element;
}

}  // namespace

// Logical line n is physical line n + k, k the number of continued lines
// above it: the first k continued lines c[0..k-1] lie above, and c[j] lies
// above exactly when c[j] < n + j. As c[j] - j never falls, that is a
// binary search.
long physicalLine(const CodeModule& module, long n) {
  if (const std::vector<long>* continued = module.continuedLines()) {
    auto first = continued->begin();
    auto it = std::partition_point(first, continued->end(), [&](const long& c) {
      return c - static_cast<long>(&c - &*first) < n;
    });
    return n + static_cast<long>(it - first);
  }
  long result = n;
  long count = module.CountOfLines();
  for (long i = 1; i < result && i <= count; ++i)
    if (continues(module, i)) ++result;
  return result;
}

long statementStartLine(const CodeModule& module, long line) {
  while (line > 1 && continues(module, line - 1)) --line;
  return line;
}

std::string statementText(const CodeModule& module, long line) {
  long count = module.CountOfLines();
  std::string text;
  for (long i = statementStartLine(module, line); i <= count; ++i) {
    std::string part = leftTrim(module.Lines(i, 1));
    if (!endsWith(part, " _")) {
      text += part;
      break;
    }
    part.pop_back();
    text += part;
  }
  return text;
}

std::shared_ptr<Element> elementForMember(
    CodeModule& module, const std::shared_ptr<Member>& member) {
  switch (member->Type()) {
    case vbext_mt_Method:
      return withMember(makeElement(ElementKind::Smethod), module, member);
    case vbext_mt_Variable:
      return withMember(makeElement(ElementKind::Svariable), module, member);
    case vbext_mt_Event:
      return withMember(makeElement(ElementKind::Sevent), module, member);
    case vbext_mt_Const:
      return withMember(makeElement(ElementKind::Sconstant), module, member);
    case vbext_mt_Property: {
      int kind = 0;
      std::string name =
          module.ProcOfLine(physicalLine(module, member->CodeLocation()), kind);
      if (name != member->Name()) return nullptr;
      return withMember(propertyElement(kind), module, member);
    }
    default:
      return nullptr;
  }
}

std::shared_ptr<Element> elementAtLine(CodeModule& module, long line) {
  return ElementLocator(module).elementAtLine(line);
}

}  // namespace scrivlet
