#include "compiler/preparation.h"

#include <algorithm>
#include <exception>

#include "base/text.h"
#include "comments/comment_generator.h"
#include "comments/comment_parser.h"

namespace scrivlet {

namespace {

// Marks of the "@same" resolution.
enum SameMark : int { notVisited = 0, sameFailed = 1, sameDone = 2, sameOnTheWay = 3 };

// The contents list and the capitalised kind word of a page.
struct ContentsKind {
  const char* list;
  const char* word;
};

ContentsKind contentsKind(const Element& element) {
  switch (element.kind()) {
    case ElementKind::Smodule: {
      int type = componentType(element);
      if (type == vbext_ct_StdModule)
        return {"CONT-STDMODULES-LINK-LIST", "Module"};
      if (isFormType(type)) return {"CONT-FORMS-LINK-LIST", "Form"};
      return {"CONT-OBJECTS-LINK-LIST", "Object"};
    }
    case ElementKind::Smethod:
      if (componentType(element) == vbext_ct_StdModule)
        return {"CONT-FUNCTIONS-LINK-LIST", "Function"};
      return {"CONT-METHODS-LINK-LIST", "Method"};
    case ElementKind::SpropGet:
    case ElementKind::SpropLet:
    case ElementKind::SpropSet:
      return {"CONT-PROPS-LINK-LIST", "Property"};
    case ElementKind::Sevent:
      return {"CONT-EVENTS-LINK-LIST", "Event"};
    case ElementKind::Svariable:
      return {"CONT-VARS-LINK-LIST", "Variable"};
    case ElementKind::Sconstant:
      return {"CONT-CONSTANTS-LINK-LIST", "Constant"};
    case ElementKind::Senum:
      return {"CONT-ENUMS-LINK-LIST", "Enum"};
    case ElementKind::Stype:
      return {"CONT-TYPES-LINK-LIST", "Type"};
  }
  return {"CONT-OBJECTS-LINK-LIST", "Object"};
}

const char* const kContentsLists[] = {
    "CONT-STDMODULES-LINK-LIST", "CONT-FORMS-LINK-LIST",
    "CONT-OBJECTS-LINK-LIST",    "CONT-FUNCTIONS-LINK-LIST",
    "CONT-METHODS-LINK-LIST",    "CONT-PROPS-LINK-LIST",
    "CONT-EVENTS-LINK-LIST",     "CONT-VARS-LINK-LIST",
    "CONT-CONSTANTS-LINK-LIST",  "CONT-ENUMS-LINK-LIST",
    "CONT-TYPES-LINK-LIST"};

}  // namespace

int componentType(const Element& element) {
  try {
    if (element.cmo && element.cmo->Parent())
      return element.cmo->Parent()->Type();
  } catch (const std::exception&) {
  }
  return vbext_ct_ClassModule;
}

bool isFormType(int type) {
  return type == vbext_ct_VBForm || type == vbext_ct_VBMDIForm ||
         type == vbext_ct_MSForm;
}

// Shared comments ---------------------------------------------------------

SharedComment Preparation::commentOf(Element& element) {
  if (!element.sharedComment) {
    appliesBuilt_ = false;
    element.sharedComment =
        std::make_shared<std::vector<std::string>>(element.comment);
  }
  return element.sharedComment;
}

const std::vector<std::string>& Preparation::commentText(
    const Element& element) const {
  return element.sharedComment ? *element.sharedComment : element.comment;
}

bool Preparation::sameComment(const Element& a, const Element& b) const {
  return commentKey(a) == commentKey(b);
}

const void* Preparation::commentKey(const Element& element) const {
  if (element.sharedComment) return element.sharedComment.get();
  return &element;
}

void Preparation::shareComment(Element& to, Element& from) {
  appliesBuilt_ = false;
  SharedComment shared = commentOf(from);
  to.sharedComment = shared;
  to.comment = *shared;
}

void Preparation::syncComments() {
  for (const auto& entry : elements_.all)
    if (entry.item->sharedComment)
      entry.item->comment = *entry.item->sharedComment;
}

// Property sharing --------------------------------------------------------

// "Class1.Value'let" with kind "get" -> "Class1.Value'get" looked up in
// `side`.
std::shared_ptr<Element> Preparation::companion(const Element& property,
                                                const ElementCollection& side,
                                                const char* kind) const {
  std::string link = property.canonicalLink();
  if (link.size() < 3) return nullptr;
  link.replace(link.size() - 3, 3, kind);
  const auto* found = side.find(link);
  return found ? *found : nullptr;
}

void Preparation::makeSamePropsFirst() {
  auto lend = [this](Element& get, Element& other) {
    if (get.hadComment)
      shareComment(other, get);
    else
      shareComment(get, other);
  };
  for (const auto& entry : elements_.sets) {
    auto get = companion(*entry.item, elements_.gets, "get");
    if (!get) continue;
    static_cast<SpropGet&>(*get).hasNoLetSet = false;
    lend(*get, *entry.item);
  }
  for (const auto& entry : elements_.lets) {
    Element& let = *entry.item;
    if (auto get = companion(let, elements_.gets, "get")) {
      static_cast<SpropGet&>(*get).hasNoLetSet = false;
      lend(*get, let);
    }
    if (auto set = companion(let, elements_.sets, "set")) lend(*set, let);
  }
}

// The link table holds only links documented elsewhere: a link it does not
// hold documents itself.
void Preparation::redirectLink(const Element& from, const Element& to) {
  std::string toLink = to.canonicalLink();
  const std::string* mapped = engine_.linkTable.find(toLink);
  std::string target = mapped ? *mapped : std::move(toLink);
  std::string fromLink = from.canonicalLink();
  if (std::string* entry = engine_.linkTable.find(fromLink))
    *entry = std::move(target);
  else
    engine_.linkTable.add(fromLink, std::move(target));
}

void Preparation::completeValueParameter(Element& get,
                                         const Element& valueSide) {
  try {
    std::vector<std::string> generated =
        generateCommentForLastArgument(valueSide, settings_);
    if (generated.size() < 2) return;
    std::size_t argumentCount = std::stoul(generated[0]);
    SharedComment comment = commentOf(get);
    CommentParser parser(settings_);
    parser.setComment(*comment);
    if (parser.getParamList().size() < argumentCount)
      comment->push_back(generated[1]);
  } catch (const std::exception&) {
  }
}

// The first one documents when it had a comment, else the second.
void Preparation::pair(Element& first, Element& second,
                       const Element* valueSide) {
  if (first.hadComment) {
    if (valueSide) completeValueParameter(first, *valueSide);
    shareComment(second, first);
    redirectLink(second, first);
  } else {
    shareComment(first, second);
    redirectLink(first, second);
  }
}

void Preparation::makeSameProps() {
  for (const auto& entry : elements_.sets)
    if (auto get = companion(*entry.item, elements_.gets, "get"))
      pair(*get, *entry.item, entry.item.get());
  for (const auto& entry : elements_.lets) {
    Element& let = *entry.item;
    if (auto get = companion(let, elements_.gets, "get")) pair(*get, let, &let);
    if (auto set = companion(let, elements_.sets, "set")) pair(*set, let, nullptr);
  }
}

// "@same" ----------------------------------------------------------------

void Preparation::resolveSameLinks() {
  std::unordered_map<const Element*, int> marks;
  marks.reserve(elements_.all.size());
  for (const auto& entry : elements_.all)
    marks.emplace(entry.item.get(), notVisited);
  for (const auto& entry : elements_.all) resolveSame(*entry.item, marks);
}

// Follows the "@same" targets from `start` to an element that documents
// itself, then shares its comment and page back along the way, from the far
// end first. A loop rather than a recursion, so that a chain of any length
// fits the stack. A target met again on the way closes a cycle: the whole
// way keeps its own documentation, as does a way that ends at a dead link.
int Preparation::resolveSame(Element& start,
                             std::unordered_map<const Element*, int>& marks) {
  struct Step {
    int* mark;
    Element* element;
    Element* target;
  };
  std::vector<Step> way;
  Element* current = &start;
  int result = sameFailed;
  for (;;) {
    // Every element met here is in the model, and so has a mark.
    int& mark = marks.find(current)->second;  // map references stay valid
    if (mark == sameOnTheWay) {
      result = sameFailed;
      break;
    }
    if (mark != notVisited) {
      result = mark;
      break;
    }
    std::string target = CommentParser::sameOf(commentText(*current));
    if (target.empty()) {
      result = mark = sameDone;
      break;
    }
    Element* next = engine_.links().getWrapperFromLink(current, target).get();
    // A link that names nothing (after its warning) may still be a link of
    // the model as written, its case aside.
    if (!next)
      if (const auto* found = elements_.all.find(target)) next = found->get();
    if (!next) {
      result = mark = sameFailed;
      break;
    }
    mark = sameOnTheWay;
    way.push_back({&mark, current, next});
    current = next;
  }
  for (auto step = way.rbegin(); step != way.rend(); ++step) {
    if (result == sameDone) {
      shareComment(*step->element, *step->target);
      redirectLink(*step->element, *step->target);
    }
    *step->mark = result;
  }
  return result;
}

void Preparation::resolveLinkTable() {
  KeyedCollection<std::string>& table = engine_.linkTable;
  std::vector<std::string> resolved;
  resolved.reserve(table.size());
  for (const auto& entry : table) {
    std::string target = entry.item;
    std::vector<std::string> seen{foldCase(entry.key)};
    bool loop = false;
    while (true) {
      const std::string* next = table.find(target);
      if (!next || *next == target) break;
      std::string folded = foldCase(target);
      if (std::find(seen.begin(), seen.end(), folded) != seen.end()) {
        loop = true;
        break;
      }
      seen.push_back(folded);
      target = *next;
    }
    resolved.push_back(loop ? entry.key : target);
  }
  for (std::size_t i = 0; i < resolved.size(); ++i) table[i] = resolved[i];
}

// Page index and help numbers ---------------------------------------------

void Preparation::shareHelpID(Element& element,
                              const std::string& documentedBy) {
  const auto* target = elements_.all.find(documentedBy);
  if (!target) return;
  element.helpID = (*target)->helpID;
  // Only a compile that gives out help numbers may touch them: otherwise a
  // plain compile would change the project's code.
  if (!settings_.comContextID) return;
  try {
    if (element.member)
      element.member->setHelpContextID(element.helpID);
    else if (element.cmo && element.cmo->Parent())
      element.cmo->Parent()->setHelpContextID(element.helpID);
  } catch (const std::exception&) {
  }
}

ElementCollection Preparation::makeIndex() {
  ElementCollection pageIndex;
  pageIndex.reserve(elements_.all.size());
  // The store keeps every element under its canonical link.
  for (const auto& entry : elements_.all) {
    const std::string& own = entry.key;
    const std::string* target = engine_.linkTable.find(own);
    if (!target || *target == own)
      pageIndex.add(own, entry.item);
    else
      shareHelpID(*entry.item, *target);
  }
  return pageIndex;
}

void Preparation::makeSameHelpIDs() {
  for (const auto& entry : elements_.all) {
    const std::string& own = entry.key;
    const std::string* target = engine_.linkTable.find(own);
    if (target && *target != own) shareHelpID(*entry.item, *target);
  }
}

// Lists ------------------------------------------------------------------

std::string Preparation::listLabel(const Element& element) {
  std::string label = element.name();
  if (element.needsModule) label += " (" + element.moduleName() + ")";
  return label;
}

std::string Preparation::kindWord(const Element& element) {
  return foldCase(contentsKind(element).word);
}

MacroList Preparation::makeIndexList(const ElementCollection& pageIndex) const {
  MacroList items;
  items.reserve(pageIndex.size());
  items.elements.reserve(pageIndex.size());
  for (const auto& entry : pageIndex)
    items.pushLink(entry.key + "\r" + listLabel(*entry.item) + " " +
                       kindWord(*entry.item),
                   entry.item);
  return items;
}

void Preparation::makeContents(const ElementCollection& pageIndex) {
  std::unordered_map<std::string, MacroList> lists;
  for (const auto& entry : pageIndex) {
    ContentsKind kind = contentsKind(*entry.item);
    lists[kind.list].pushLink(
        entry.key + "\r" + listLabel(*entry.item) + " " + kind.word,
        entry.item);
  }
  for (const char* name : kContentsLists)
    engine_.setMacroValue(name, makeList(std::move(lists[name])));
}

const Preparation::ModuleMembers& Preparation::membersOf(
    const Element& module) const {
  if (!byModuleBuilt_) {
    for (const auto& entry : elements_.modules)
      byModule_[entry.item->cmo].module = entry.item;
    for (const auto& entry : elements_.methods)
      byModule_[entry.item->cmo].methods.pushLink(entry.key + "\r",
                                                   entry.item);
    for (const auto& entry : elements_.events)
      byModule_[entry.item->cmo].events.pushLink(entry.key + "\r", entry.item);
    for (const auto& entry : elements_.enums)
      byModule_[entry.item->cmo].enums.pushLink(entry.key + "\r", entry.item);
    for (const auto& entry : elements_.types)
      byModule_[entry.item->cmo].types.pushLink(entry.key + "\r", entry.item);
    for (const ElementCollection* side :
         {&elements_.gets, &elements_.sets, &elements_.lets})
      for (const auto& entry : *side) {
        ModuleMembers& members = byModule_[entry.item->cmo];
        members.props.add(entry.item->name(), entry);
        members.procedures[entry.item->name()].push_back(
            entry.item.get());
      }
    for (auto& [cmo, members] : byModule_) {
      members.methodsList = shareList(std::move(members.methods));
      members.eventsList = shareList(std::move(members.events));
      members.enumsList = shareList(std::move(members.enums));
      members.typesList = shareList(std::move(members.types));
      MacroList props;
      props.reserve(members.props.size());
      props.elements.reserve(members.props.size());
      for (const auto& entry : members.props)
        props.pushLink(entry.item.key + "\r", entry.item.item);
      members.propsList = shareList(std::move(props));
    }
    byModuleBuilt_ = true;
  }
  static const ModuleMembers none;
  auto found = byModule_.find(module.cmo);
  return found == byModule_.end() ? none : found->second;
}

const std::vector<const Element*>& Preparation::propertyProcedures(
    const Element& procedure) const {
  static const std::vector<const Element*> none;
  const auto& procedures = membersOf(procedure).procedures;
  auto found = procedures.find(procedure.name());
  return found == procedures.end() ? none : found->second;
}

namespace {

// A module without members of a kind shows an empty list.
MacroListPtr orEmpty(const MacroListPtr& list) {
  static const MacroListPtr empty = shareList({});
  return list ? list : empty;
}

}  // namespace

MacroListPtr Preparation::getPropsList(const Element& module) const {
  return orEmpty(membersOf(module).propsList);
}

MacroListPtr Preparation::getMethodsList(const Element& module) const {
  return orEmpty(membersOf(module).methodsList);
}

MacroListPtr Preparation::getEventsList(const Element& module) const {
  return orEmpty(membersOf(module).eventsList);
}

MacroListPtr Preparation::getEnumsList(const Element& module) const {
  return orEmpty(membersOf(module).enumsList);
}

MacroListPtr Preparation::getTypesList(const Element& module) const {
  return orEmpty(membersOf(module).typesList);
}

// "FileMode", or "modFiles.FileMode" written with its module. A name of the
// element's own module comes first, as Visual Basic finds it; then the first
// public one of that name. The answer is the element whose page documents
// it.
std::shared_ptr<Element> Preparation::documentedType(
    const Element& from, std::string_view typeName) const {
  if (elements_.enums.empty() && elements_.types.empty()) return nullptr;
  if (!typesBuilt_) {
    for (const ElementCollection* side : {&elements_.enums, &elements_.types})
      for (const auto& entry : *side)
        typesByName_[foldCase(entry.item->name())].push_back(entry.item);
    typesBuilt_ = true;
  }
  std::string name = trim(typeName);
  if (endsWith(name, "()")) name.resize(name.size() - 2);
  std::shared_ptr<Element> found;
  if (name.find('.') != std::string::npos) {
    if (const auto* named = elements_.all.find(name))
      if ((*named)->isDeclaredBlock()) found = *named;
  } else {
    auto candidates = typesByName_.find(foldCase(name));
    if (candidates == typesByName_.end()) return nullptr;
    for (const auto& candidate : candidates->second) {
      if (candidate->cmo == from.cmo) {
        found = candidate;
        break;
      }
      if (!found && candidate->member &&
          candidate->member->Scope() != vbext_Private)
        found = candidate;
    }
  }
  if (!found) return nullptr;
  const std::string* page = engine_.linkTable.find(found->canonicalLink());
  if (page && *page != found->canonicalLink()) {
    const auto* target = elements_.all.find(*page);
    return target ? *target : nullptr;
  }
  return found;
}

// Elements that share documentation hold the same comment object; one that
// shares with none is alone with its own module.
MacroListPtr Preparation::getAppliesList(const Element& element) const {
  // A module's item holds its element, when the module has one.
  // A module without an element of its own (a standard module, when they
  // are not documented) is named by its item's label.
  auto addModule = [this](MacroList& list, std::string module,
                          const Element& of) {
    const std::shared_ptr<Element>& held = membersOf(of).module;
    std::string item = module + '\r';
    if (!held) item += module;
    list.pushLink(std::move(item), held);
  };
  if (!element.sharedComment) {
    MacroList alone;
    addModule(alone, element.moduleName(), element);
    return shareList(std::move(alone));
  }
  if (!appliesBuilt_) {
    applies_.clear();
    std::unordered_map<const void*, MacroList> lists;
    std::unordered_map<const void*, KeyedCollection<bool>> seen;
    for (const auto& entry : elements_.all) {
      const void* shared = entry.item->sharedComment.get();
      if (!shared) continue;
      std::string module = entry.item->moduleName();
      if (seen[shared].add(module, true))
        addModule(lists[shared], std::move(module), *entry.item);
    }
    for (auto& [comment, list] : lists)
      applies_[comment] = shareList(std::move(list));
    appliesBuilt_ = true;
  }
  return orEmpty(applies_[element.sharedComment.get()]);
}

}  // namespace scrivlet
