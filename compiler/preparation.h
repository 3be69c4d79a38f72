// Getting a loaded project model ready for documentation: the procedures of
// one property documented together, "@same" elements taking the
// documentation of another element, the set of elements that get a page
// (with their help numbers), and the link lists that templates loop over.
//
// Elements that share documentation share one comment object, which each
// of them holds as its `sharedComment`; `syncComments` copies it into their
// own comments once the sharing is settled.
#ifndef SCRIVLET_COMPILER_PREPARATION_H_
#define SCRIVLET_COMPILER_PREPARATION_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/fold_table.h"
#include "base/project_settings.h"
#include "compiler/macro_engine.h"
#include "source/store.h"

namespace scrivlet {

using SharedComment = std::shared_ptr<std::vector<std::string>>;

class Preparation {
 public:
  Preparation(store& elements, MacroEngine& engine,
              const ProjectSettings& settings)
      : elements_(elements), engine_(engine), settings_(settings) {}

  // First sharing among the procedures of a property: a commented Get lends
  // its comment to its Let and Set, otherwise they lend theirs to it.
  void makeSamePropsFirst();
  // Every element enters the link table; an element whose "@same" target
  // resolves takes the target's comment and page. Cycles and dead targets
  // keep their own.
  void resolveSameLinks();
  // Second sharing among property procedures, completing a documenting Get
  // with the value parameter of its Let or Set, and leading the links of
  // the procedure that does not document to the one that does.
  void makeSameProps();
  // Follows every link-table entry to the element that documents itself, so
  // that every link leads to a page that is written. An entry caught in a
  // loop maps to itself again.
  void resolveLinkTable();
  // The elements that get a page of their own, in loading order; an element
  // documented by another takes that one's help number.
  ElementCollection makeIndex();
  // The help-number step of makeIndex alone.
  void makeSameHelpIDs();
  // "Module.Member" CR label + " method", ... for every page.
  MacroList makeIndexList(const ElementCollection& pageIndex) const;
  // The eleven "CONT-...-LINK-LIST" macros from the page index.
  void makeContents(const ElementCollection& pageIndex);

  MacroListPtr getPropsList(const Element& module) const;
  MacroListPtr getMethodsList(const Element& module) const;
  MacroListPtr getEventsList(const Element& module) const;
  MacroListPtr getEnumsList(const Element& module) const;
  MacroListPtr getTypesList(const Element& module) const;
  // The documented Enum or Type that a declared type names, as seen from
  // `from`, led to the element whose page documents it; none when the
  // type is not documented here.
  std::shared_ptr<Element> documentedType(const Element& from,
                                          std::string_view typeName) const;
  bool hasDocumentedTypes() const {
    return !elements_.enums.empty() || !elements_.types.empty();
  }
  // Every module holding an element that shares `element`'s documentation.
  MacroListPtr getAppliesList(const Element& element) const;
  // The procedures of the property `procedure` belongs to, itself among
  // them: Gets, then Sets, then Lets of its module and name.
  const std::vector<const Element*>& propertyProcedures(
      const Element& procedure) const;

  // The shared comment of `element`, made from its own comment if it has
  // none yet.
  SharedComment commentOf(Element& element);
  // The text of that comment, read without sharing it first.
  const std::vector<std::string>& commentText(const Element& element) const;
  bool sameComment(const Element& a, const Element& b) const;
  // Elements that share documentation answer the same key.
  const void* commentKey(const Element& element) const;
  // Makes `to` refer to `from`'s comment.
  void shareComment(Element& to, Element& from);
  // Copies each shared comment into the elements that refer to it.
  void syncComments();

  // The member name (the module name for a module), with " (Module)" when
  // the name alone is ambiguous.
  static std::string listLabel(const Element& element);
  // "module", "form", "object", "function", "method", "property", "event",
  // "variable", "constant", "enum" or "type".
  static std::string kindWord(const Element& element);

 private:
  std::shared_ptr<Element> companion(const Element& property,
                                     const ElementCollection& side,
                                     const char* kind) const;
  void redirectLink(const Element& from, const Element& to);
  void pair(Element& first, Element& second, const Element* valueSide);
  void completeValueParameter(Element& get, const Element& valueSide);
  int resolveSame(Element& start,
                  std::unordered_map<const Element*, int>& marks);
  void shareHelpID(Element& element, const std::string& documentedBy);
  // Each list is built once and shared by the pages and loops that show it.
  struct ModuleMembers {
    std::shared_ptr<Element> module;  // the module's own element, if any
    MacroList methods;
    MacroList events;
    MacroList enums;
    MacroList types;
    // By member name: Get, else Set, else Let (each with its link).
    KeyedCollection<ElementCollection::Entry> props;
    MacroListPtr methodsList, eventsList, propsList, enumsList, typesList;
    // By property name.
    FoldedMap<std::vector<const Element*>> procedures;
  };
  const ModuleMembers& membersOf(const Element& module) const;

  // Indexes built on first use, once the model is prepared; sharing a
  // comment again drops the applies index.
  mutable std::unordered_map<const CodeModule*, ModuleMembers> byModule_;
  mutable bool byModuleBuilt_ = false;
  mutable std::unordered_map<const void*, MacroListPtr> applies_;
  mutable bool appliesBuilt_ = false;
  // Enums and types by folded name, in loading order.
  mutable std::unordered_map<std::string, std::vector<std::shared_ptr<Element>>>
      typesByName_;
  mutable bool typesBuilt_ = false;

  store& elements_;
  MacroEngine& engine_;
  const ProjectSettings& settings_;
};

// Component kind of the module holding `element`; a class when unknown.
int componentType(const Element& element);
bool isFormType(int type);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_PREPARATION_H_
