#include "source/element_locator.h"

#include <algorithm>

#include "source/declared_blocks.h"
#include "source/source_lines.h"

namespace scrivlet {

ElementLocator::ElementLocator(CodeModule& module)
    : module_(module), members_(module.Members()) {
  types_.reserve(members_.size());
  for (std::size_t i = 0; i < members_.size(); ++i) {
    const Member& member = *members_[i];
    int type = member.Type();
    types_.push_back(type);
    if (type == vbext_mt_Method || type == vbext_mt_Property)
      byName_.try_emplace(member.Name(), i);
    if (type == vbext_mt_Property) {
      firstProperty_ = std::min(firstProperty_, i);
      continue;
    }
    byLine_.try_emplace(physicalLine(module, member.CodeLocation()), i);
  }
}

std::shared_ptr<Element> ElementLocator::elementAtLine(long line) const {
  line = statementStartLine(module_, line);
  auto at = byLine_.find(line);
  std::size_t declared = at == byLine_.end() ? none : at->second;
  int procKind = 0;
  std::string procedure;
  try {
    procedure = module_.ProcOfLine(line, procKind);
  } catch (const HostError&) {
    // A method passes over a line the module cannot place; a property,
    // which is found by that name alone, cannot.
    if (declared < firstProperty_) return elementFor(declared, procKind, line);
    if (firstProperty_ != none) throw;
    return elementFor(none, procKind, line);
  }
  auto named = byName_.find(procedure);
  std::size_t byName = named == byName_.end() ? none : named->second;
  return elementFor(std::min(declared, byName), procKind, line);
}

// The Enum or Type block whose lines hold `line`, read only when no member
// is declared there.
std::shared_ptr<Element> ElementLocator::blockAt(long line) const {
  for (DeclaredBlock& block : findDeclaredBlocks(module_)) {
    if (line < block.line || line > block.endLine) continue;
    auto element =
        makeElement(block.isEnum ? ElementKind::Senum : ElementKind::Stype);
    element->cmo = &module_;
    element->member = std::make_shared<BlockMember>(
        std::make_shared<const DeclaredBlock>(std::move(block)), &module_);
    return element;
  }
  return nullptr;
}

std::shared_ptr<Element> ElementLocator::elementFor(std::size_t index,
                                                    int procKind,
                                                    long line) const {
  if (index == none) {
    if (auto block = blockAt(line)) return block;
    auto element = makeElement(ElementKind::Smodule);
    element->cmo = &module_;
    return element;
  }
  std::shared_ptr<Element> element;
  switch (types_[index]) {
    case vbext_mt_Method: element = makeElement(ElementKind::Smethod); break;
    case vbext_mt_Variable: element = makeElement(ElementKind::Svariable); break;
    case vbext_mt_Event: element = makeElement(ElementKind::Sevent); break;
    case vbext_mt_Property:
      if (procKind == vbext_pk_Let) element = makeElement(ElementKind::SpropLet);
      else if (procKind == vbext_pk_Set) element = makeElement(ElementKind::SpropSet);
      else if (procKind == vbext_pk_Get) element = makeElement(ElementKind::SpropGet);
      break;
    default: element = makeElement(ElementKind::Sconstant); break;
  }
  if (element) {
    element->member = members_[index];
    element->cmo = &module_;
  }
  return element;
}

}  // namespace scrivlet
