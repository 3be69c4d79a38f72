#include "source/elements.h"

#include "source/source_lines.h"

namespace scrivlet {

const char* kindName(ElementKind kind) {
  switch (kind) {
    case ElementKind::Smodule: return "Smodule";
    case ElementKind::Smethod: return "Smethod";
    case ElementKind::Sevent: return "Sevent";
    case ElementKind::SpropGet: return "SpropGet";
    case ElementKind::SpropLet: return "SpropLet";
    case ElementKind::SpropSet: return "SpropSet";
    case ElementKind::Svariable: return "Svariable";
    case ElementKind::Sconstant: return "Sconstant";
    case ElementKind::Senum: return "Senum";
    case ElementKind::Stype: return "Stype";
  }
  return "";
}

std::shared_ptr<Element> makeElement(ElementKind kind) {
  switch (kind) {
    case ElementKind::Smodule: return std::make_shared<Smodule>();
    case ElementKind::Smethod: return std::make_shared<Smethod>();
    case ElementKind::Sevent: return std::make_shared<Sevent>();
    case ElementKind::SpropGet: return std::make_shared<SpropGet>();
    case ElementKind::SpropLet: return std::make_shared<SpropLet>();
    case ElementKind::SpropSet: return std::make_shared<SpropSet>();
    case ElementKind::Svariable: return std::make_shared<Svariable>();
    case ElementKind::Sconstant: return std::make_shared<Sconstant>();
    case ElementKind::Senum: return std::make_shared<Senum>();
    case ElementKind::Stype: return std::make_shared<Stype>();
  }
  return nullptr;
}

std::string Element::moduleName() const { return cmo ? cmo->Name() : ""; }

std::string Element::name() const {
  return member ? member->Name() : moduleName();
}

long Element::CodeLocation() const {
  if (!member) return 1;
  // A variable documented as a property pair has no procedure: it answers
  // with its own declaration line, like every other member.
  if (isProperty() && member->Type() == vbext_mt_Property) {
    int procKind = kind() == ElementKind::SpropGet   ? vbext_pk_Get
                   : kind() == ElementKind::SpropLet ? vbext_pk_Let
                                                     : vbext_pk_Set;
    return cmo->ProcBodyLine(member->Name(), procKind);
  }
  return physicalLine(*cmo, member->CodeLocation());
}

std::string Element::canonicalLink() const {
  if (!member) return moduleName();
  std::string link = moduleName() + "." + member->Name();
  switch (kind()) {
    case ElementKind::SpropGet: return link + "'get";
    case ElementKind::SpropLet: return link + "'let";
    case ElementKind::SpropSet: return link + "'set";
    default: return link;
  }
}

}  // namespace scrivlet
