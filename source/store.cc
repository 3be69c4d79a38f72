#include "source/store.h"

namespace scrivlet {

void store::clearElements() {
  for (ElementCollection* c : {&all, &modules, &methods, &events, &gets, &lets,
                               &sets, &variables, &constants, &enums, &types})
    c->clear();
}

ElementCollection& store::collectionFor(ElementKind kind) {
  switch (kind) {
    case ElementKind::Smodule: return modules;
    case ElementKind::Smethod: return methods;
    case ElementKind::Sevent: return events;
    case ElementKind::SpropGet: return gets;
    case ElementKind::SpropLet: return lets;
    case ElementKind::SpropSet: return sets;
    case ElementKind::Svariable: return variables;
    case ElementKind::Sconstant: return constants;
    case ElementKind::Senum: return enums;
    case ElementKind::Stype: return types;
  }
  return all;
}

bool store::addElement(const std::shared_ptr<Element>& element) {
  std::string key = element->canonicalLink();
  if (all.contains(key)) return false;
  if (!collectionFor(element->kind()).add(key, element)) return false;
  all.add(key, element);
  return true;
}

}  // namespace scrivlet
