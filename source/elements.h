// The documented elements: one object per documented module, member, Enum
// and Type, holding the object it stands for, its documentation comment and
// its help number. The kinds share one shape; code that dispatches on kind
// compares `className()` or `kind`.
#ifndef SCRIVLET_SOURCE_ELEMENTS_H_
#define SCRIVLET_SOURCE_ELEMENTS_H_

#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"

namespace scrivlet {

enum class ElementKind {
  Smodule,
  Smethod,
  Sevent,
  SpropGet,
  SpropLet,
  SpropSet,
  Svariable,
  Sconstant,
  // An Enum or Type block; its `member` is a BlockMember.
  Senum,
  Stype,
};

const char* kindName(ElementKind kind);

class Element {
 public:
  virtual ~Element() = default;

  ElementKind kind() const { return kind_; }
  const char* className() const { return kindName(kind_); }
  // Methods, events and property procedures: the kinds with parameters.
  bool isProcedure() const {
    return kind_ == ElementKind::Smethod || kind_ == ElementKind::Sevent ||
           isProperty();
  }
  bool isDeclaredBlock() const {
    return kind_ == ElementKind::Senum || kind_ == ElementKind::Stype;
  }
  bool isProperty() const {
    return kind_ == ElementKind::SpropGet || kind_ == ElementKind::SpropLet ||
           kind_ == ElementKind::SpropSet;
  }

  // The member documented; none for a module element, whose object is `cmo`.
  std::shared_ptr<Member> member;
  // The code module that holds the element.
  CodeModule* cmo = nullptr;
  std::vector<std::string> comment;
  // While a compile prepares the model: the comment object this element
  // shares with the elements documented together with it (the procedures
  // of a property, "@same"); null while it keeps its own.
  std::shared_ptr<std::vector<std::string>> sharedComment;
  bool hadComment = false;
  long helpID = 0;
  bool needsModule = false;
  // The file name of the element's page when the compile had to give it
  // another than the usual one (another page had that name, or it was too
  // long); empty otherwise. Links to the page lead there.
  std::string pageFile;

  // The module's name for a module element, else the member's name.
  std::string name() const;
  std::string moduleName() const;
  // Physical line of the declaration (1 for a module).
  long CodeLocation() const;
  // Module, or Module.member, with 'get, 'let or 'set for a property side.
  std::string canonicalLink() const;

 protected:
  explicit Element(ElementKind kind) : kind_(kind) {}

 private:
  ElementKind kind_;
};

class Smodule : public Element {
 public:
  Smodule() : Element(ElementKind::Smodule) {}
};
class Smethod : public Element {
 public:
  Smethod() : Element(ElementKind::Smethod) {}
};
class Sevent : public Element {
 public:
  Sevent() : Element(ElementKind::Sevent) {}
};
class SpropGet : public Element {
 public:
  SpropGet() : Element(ElementKind::SpropGet) {}
  // Cleared when a Let or Set of the same property is documented too.
  bool hasNoLetSet = true;
};
class SpropLet : public Element {
 public:
  SpropLet() : Element(ElementKind::SpropLet) {}
};
class SpropSet : public Element {
 public:
  SpropSet() : Element(ElementKind::SpropSet) {}
};
class Svariable : public Element {
 public:
  Svariable() : Element(ElementKind::Svariable) {}
};
class Sconstant : public Element {
 public:
  Sconstant() : Element(ElementKind::Sconstant) {}
};

class Senum : public Element {
 public:
  Senum() : Element(ElementKind::Senum) {}
};
class Stype : public Element {
 public:
  Stype() : Element(ElementKind::Stype) {}
};

std::shared_ptr<Element> makeElement(ElementKind kind);

// An element carrying a mark, for lists that must flag some of their items.
struct WrapperWithFlag {
  std::shared_ptr<Element> data;
  bool flag = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_ELEMENTS_H_
