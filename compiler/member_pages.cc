#include "compiler/member_pages.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

#include "base/text.h"
#include "source/declared_blocks.h"
#include "source/element_returns.h"
#include "source/proc_definition.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

std::string doubledDollars(std::string_view text) {
  return replaceAll(text, "$", "$$");
}

std::string upperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

constexpr std::string_view kPageMacroNames[pageMacroCount] = {
    "APPLIES-LINK-LIST", "PROPS-LINK-LIST", "METHODS-LINK-LIST",
    "EVENTS-LINK-LIST", "SEE-LINK-LIST", "PARAM-LIST", "SET01-LIST",
    "SET02-LIST", "SET03-LIST", "EXAMPLE-LINK-LIST", "MEMBER-DESCRIPTION",
    "MEMBER-REMARKS", "MEMBER-RETURN", "MEMBER-NAME", "MEMBER-MODULE",
    "MEMBER-FILE", "MEMBER-AUTHOR", "MEMBER-REVISION", "MEMBER-VERSION",
    "MEMBER-USER1", "MEMBER-USER2", "MEMBER-USER3", "MEMBER-USER4",
    "MEMBER-USER5", "MEMBER-PRIVATE", "MEMBER-PUBLIC", "MEMBER-FRIEND",
    "MEMBER-DECLARATION", "MEMBER-SOURCECODE", "MEMBER-NEEDS-MODULE",
    "MEMBER-MODULE-FILE",
    "ENUMS-LINK-LIST", "TYPES-LINK-LIST", "ITEM-LIST", "MEMBER-TYPE",
    "MEMBER-TYPE-LOCATION", "MEMBER-MODULE-PAGE"};

// "MEMBER-FILE": module name + "-" + member name, or the name of the file
// the page was given instead, without MEMBER-EXT.
std::string pageFileStem(const Element& element, const PageContext& context) {
  if (element.pageFile.empty())
    return element.moduleName() + "-" + element.name();
  std::string_view stem = element.pageFile;
  if (endsWith(stem, context.memberExt))
    stem.remove_suffix(context.memberExt.size());
  return std::string(stem);
}

std::string modulePageFile(const Element& element,
                           const PageContext& context) {
  auto renamed = context.modulePageFiles.find(element.cmo);
  if (renamed != context.modulePageFiles.end()) return renamed->second;
  return element.moduleName() + context.memberExt;
}

void setPageMacro(PageContext& context, PageMacro which, MacroValue value) {
  context.engine.setMacroValue(kPageMacroNames[which], std::move(value),
                               context.handles[which]);
}

// A step of a page that may fail without spoiling the page.
void tolerated(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

int procKindOf(const Element& element) {
  switch (element.kind()) {
    case ElementKind::SpropGet: return vbext_pk_Get;
    case ElementKind::SpropLet: return vbext_pk_Let;
    case ElementKind::SpropSet: return vbext_pk_Set;
    default: return vbext_pk_Proc;
  }
}

// From the declaration line to the procedure's last line, so that the
// comment above the declaration is left out.
std::string procedureLines(const Element& element) {
  const CodeModule& module = *element.cmo;
  std::string name = element.member->Name();
  int kind = procKindOf(element);
  long last = module.ProcStartLine(name, kind) +
              module.ProcCountLines(name, kind) - 1;
  return lineRangeText(module, element.CodeLocation(), last);
}

std::string statementOf(const Element& element) {
  return statementText(*element.cmo, element.CodeLocation());
}

std::string methodSource(const Element& element) {
  try {
    const CodeModule& module = *element.cmo;
    std::string name = element.member->Name();
    long start = module.ProcStartLine(name, vbext_pk_Proc);
    long count = module.ProcCountLines(name, vbext_pk_Proc);
    // A Declare lives in the declarations section, which the environment
    // reports as its procedure range.
    if (start == 1 && count > 0 && count == module.CountOfDeclarationLines())
      return statementOf(element);
    return procedureLines(element);
  } catch (const std::exception&) {
    return "";
  }
}

// The procedure's lines, or "" when they cannot be read.
std::string procedureLinesOrEmpty(const Element& element) {
  try {
    return procedureLines(element);
  } catch (const std::exception&) {
    return "";
  }
}

// `text`, or the element's statement when there is none.
std::string orStatement(const Element& element, std::string text) {
  if (!text.empty()) return text;
  try {
    return statementOf(element);
  } catch (const std::exception&) {
    return "";
  }
}

std::string eventSource(const Element& element) {
  return orStatement(element, procedureLinesOrEmpty(element));
}

std::string propertySource(const Element& element,
                           const Preparation& preparation) {
  std::string text = procedureLinesOrEmpty(element);
  for (const Element* other : preparation.propertyProcedures(element)) {
    if (other->kind() == element.kind()) continue;
    try {
      std::string lines = procedureLines(*other);
      if (!text.empty()) text += "\r\r";
      text += lines;
    } catch (const std::exception&) {
    }
  }
  return orStatement(element, std::move(text));
}

std::string includedSource(const Element& element, PageContext& context) {
  switch (context.settings.insertSourceGlobal) {
    case 1: break;
    case 2:
      if (context.parser.getIncludeSource().empty()) return "";
      break;
    default: return "";
  }
  if (element.kind() == ElementKind::Svariable ||
      element.kind() == ElementKind::Sconstant)
    return doubledDollars(statementOf(element));
  return replaceAll(doubledDollars(getSourceCode(element, context.preparation)),
                    "\r", "$EOL$");
}

void writeDescription(const Element& element, const std::string& description) {
  std::string text = descriptionForHost(description);
  // The environment may drop the help number when the description changes;
  // it must survive.
  if (element.member) {
    Member& member = *element.member;
    long helpID = member.HelpContextID();
    member.setDescription(text);
    if (helpID > 0) member.setHelpContextID(helpID);
  } else if (VBComponent* component = element.cmo->Parent()) {
    long helpID = component->HelpContextID();
    component->setDescription(text);
    if (helpID > 0) component->setHelpContextID(helpID);
  }
}

void setScope(const Element& element, PageContext& context) {
  std::string pub, priv, frnd;
  // A module has no scope of its own: all three stay empty.
  if (element.member) {
    switch (element.member->Scope()) {
      case vbext_Private: priv = "Private"; break;
      case vbext_Public: pub = "Public"; break;
      default: frnd = "Friend"; break;
    }
  }
  setPageMacro(context, pagePrivate, priv);
  setPageMacro(context, pagePublic, pub);
  setPageMacro(context, pageFriend, frnd);
}

std::string memberReturn(const Element& element, const CommentParser& parser) {
  switch (element.kind()) {
    case ElementKind::Smethod: return parser.getReturn();
    case ElementKind::SpropGet:
      return static_cast<const SpropGet&>(element).hasNoLetSet
                 ? parser.getReturn()
                 : "";
    case ElementKind::Svariable:
    case ElementKind::Sconstant: return getReturns(element);
    default: return "";
  }
}

MacroValue listOf(std::vector<std::string> items) {
  return makeList(std::move(items));
}

// The block's statements, one per line as written, for a page: "$" doubled,
// lines joined by the template's line break.
std::string blockDeclaration(const DeclaredBlock& block) {
  std::string text;
  for (const std::string& line : block.declaration) {
    if (!text.empty()) text += "$EOL$";
    text += doubledDollars(line);
  }
  return text;
}

// "name" CR "value" CR "description" per item of an Enum or Type, each
// field's item holding the documented type it names, if any.
MacroList itemList(const Element& element, const DeclaredBlock& block,
                   PageContext& context) {
  MacroList items;
  bool anyType = false;
  for (const BlockItem& item : block.items) {
    context.parser.readComment(item.comment);
    // Names and values are code; a "$" in them is no macro.
    items.push_back(doubledDollars(item.name) + "\r" +
                    doubledDollars(item.value) + "\r" +
                    context.parser.getDescription());
    std::shared_ptr<Element> type;
    if (!block.isEnum)
      type = context.preparation.documentedType(element, item.value);
    anyType = anyType || type;
    items.elements.push_back(std::move(type));
  }
  if (!anyType) items.elements.clear();
  return items;
}

std::string withoutArrayParentheses(std::string name) {
  std::size_t open = name.find('(');
  if (open != std::string::npos) name.resize(open);
  return trim(name);
}

// The documented type of each documented parameter, by the name the
// comment gives it; none unless at least one parameter names one.
void linkParameterTypes(const Element& element, PageContext& context,
                        const ProcDefinition& definition, MacroList& params) {
  bool anyType = false;
  std::vector<std::shared_ptr<Element>> types;
  for (const std::string& param : params) {
    std::string name = withoutArrayParentheses(param.substr(0, param.find('\r')));
    std::shared_ptr<Element> type;
    for (const argument& arg : definition.args)
      if (equalsNoCase(withoutArrayParentheses(arg.aName), name)) {
        type = context.preparation.documentedType(element, arg.aType);
        break;
      }
    anyType = anyType || type;
    types.push_back(std::move(type));
  }
  if (anyType) params.elements = std::move(types);
}

// The type the element declares (a procedure's return type, a variable's
// type), when that names a documented Enum or Type.
std::shared_ptr<Element> declaredType(const Element& element,
                                      PageContext& context,
                                      const ProcDefinition& definition) {
  std::string type;
  switch (element.kind()) {
    case ElementKind::Smethod:
    case ElementKind::SpropGet:
      type = element.member && element.member->Type() == vbext_mt_Variable
                 ? getReturns(element)
                 : definition.returns;
      break;
    case ElementKind::Svariable: type = getReturns(element); break;
    default: return nullptr;
  }
  return context.preparation.documentedType(element, type);
}

// A link that leads nowhere and has no text of its own shows nothing: it is
// dropped here, after its warning, so that a template's heading over the
// list appears only when something shows under it.
MacroValue shownLinks(std::vector<std::string> items, const Element& element,
                      PageContext& context) {
  std::vector<std::string> kept;
  kept.reserve(items.size());
  for (std::string& item : items) {
    const std::size_t cr = item.find('\r');
    const std::string_view link = std::string_view(item).substr(0, cr);
    const bool labelled = cr != std::string::npos && cr + 1 < item.size();
    if (labelled || (!link.empty() && link[0] == '"') ||
        context.engine.links().getWrapperFromLink(&element, link))
      kept.push_back(std::move(item));
  }
  return listOf(std::move(kept));
}

}  // namespace

bool modulePageWritten(int type, const ProjectSettings& settings) {
  if (type == vbext_ct_StdModule) return settings.comStdModule;
  if (isFormType(type)) return settings.comForm;
  return settings.comObject;
}

bool pageWritten(const Element& element, const ProjectSettings& settings) {
  return element.kind() != ElementKind::Smodule ||
         modulePageWritten(componentType(element), settings);
}

std::string firstSentence(std::string_view description) {
  std::size_t end = description.size();
  for (std::string_view stop : {"$EOL$", "\r\r", "$CODE$"})
    end = std::min(end, description.find(stop));
  std::string_view text = description.substr(0, end);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if ((c == '.' || c == '!' || c == '?') &&
        (i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\r' ||
         text[i + 1] == '\t')) {
      text = text.substr(0, i + 1);
      break;
    }
  }
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r' || c == '\t') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string lineRangeText(const CodeModule& module, long from, long to) {
  std::string out;
  for (long line = from; line <= to; ++line) {
    if (!out.empty()) out += '\r';
    out += module.Lines(line, 1);
  }
  return out;
}

std::string descriptionForHost(const std::string& description) {
  std::string text = description;
  if (endsWith(text, "\r")) text.pop_back();
  text = replaceAll(text, "\r", " ");
  return replaceAll(text, "$EOL$", "\r\n");
}

std::string bodySection(const Element& element) {
  int type = componentType(element);
  switch (element.kind()) {
    case ElementKind::Smodule:
      if (type == vbext_ct_StdModule) return "scriv-stdmodule-body";
      if (isFormType(type)) return "scriv-form-body";
      return "scriv-object-body";
    case ElementKind::Smethod:
      return type == vbext_ct_StdModule ? "scriv-function-body"
                                        : "scriv-method-body";
    case ElementKind::Sevent: return "scriv-event-body";
    case ElementKind::SpropGet:
    case ElementKind::SpropLet:
    case ElementKind::SpropSet: return "scriv-property-body";
    case ElementKind::Svariable: return "scriv-variable-body";
    case ElementKind::Sconstant: return "scriv-constant-body";
    case ElementKind::Senum: return "scriv-enum-body";
    case ElementKind::Stype: return "scriv-type-body";
  }
  return "scriv-method-body";
}

std::string getSourceCode(const Element& element,
                          const Preparation& preparation) {
  if (!element.member) return "";
  switch (element.kind()) {
    case ElementKind::Smethod: return methodSource(element);
    case ElementKind::Sevent: return eventSource(element);
    case ElementKind::SpropGet:
    case ElementKind::SpropLet:
    case ElementKind::SpropSet: return propertySource(element, preparation);
    case ElementKind::Senum:
    case ElementKind::Stype:
      if (const DeclaredBlock* block = declaredBlockOf(element))
        return lineRangeText(*element.cmo, block->line, block->endLine);
      return "";
    default:
      try {
        return statementOf(element);
      } catch (const std::exception&) {
        return "";
      }
  }
}

namespace {

// Elements named alike, as one kind of member compares them: another element
// of the group is a rival of `element` when both are in the same bucket
// (kSameBucket) or in different ones (kOtherBucket), and it takes part.
enum class Rivals { kSameBucket, kOtherBucket };

struct NamedAlike {
  Element* element = nullptr;
  std::uintptr_t bucket = 0;
  bool takesPart = true;
  const void* comment = nullptr;
};

// An element needs its module name when it has a rival and no rival shares
// its documentation. Counted per bucket and comment, so that a name shared
// by thousands of members costs no more than they do.
void markGroup(const std::vector<NamedAlike>& group, Rivals rivals) {
  using BucketComment = std::pair<std::uintptr_t, const void*>;
  std::map<std::uintptr_t, long> inBucket;
  std::map<BucketComment, long> inBucketSharing;
  std::map<const void*, long> sharing;
  long taking = 0;
  for (const NamedAlike& n : group) {
    if (!n.takesPart) continue;
    ++taking;
    ++inBucket[n.bucket];
    ++inBucketSharing[{n.bucket, n.comment}];
    ++sharing[n.comment];
  }
  for (const NamedAlike& n : group) {
    const long self = n.takesPart ? 1 : 0;
    long others = 0;
    long othersSharing = 0;
    if (rivals == Rivals::kSameBucket) {
      others = inBucket[n.bucket] - self;
      othersSharing = inBucketSharing[{n.bucket, n.comment}] - self;
    } else {
      others = taking - inBucket[n.bucket];
      othersSharing = sharing[n.comment] - inBucketSharing[{n.bucket, n.comment}];
    }
    n.element->needsModule = others > 0 && othersSharing == 0;
  }
}

void markKind(const std::vector<const ElementCollection*>& walked,
              Rivals rivals, const Preparation& preparation,
              const std::function<void(const Element&, NamedAlike&)>& place) {
  std::unordered_map<std::string, std::vector<NamedAlike>> groups;
  for (const ElementCollection* collection : walked)
    for (const auto& entry : *collection) {
      NamedAlike n;
      n.element = entry.item.get();
      n.comment = preparation.commentKey(*n.element);
      place(*n.element, n);
      groups[foldCase(n.element->name())].push_back(n);
    }
  for (const auto& [name, group] : groups) markGroup(group, rivals);
}

bool inStandardModule(const Element& element) {
  return componentType(element) == vbext_ct_StdModule;
}

}  // namespace

// Methods are confused with methods of the same sort of module (standard
// or not), events with events of classes, forms and controls, property
// procedures with those of another module, variables and constants with
// any other of their kind.
void markNeedsModuleName(const store& elements, const Preparation& preparation) {
  for (const auto& entry : elements.all) entry.item->needsModule = false;
  markKind({&elements.methods}, Rivals::kSameBucket, preparation,
           [](const Element& e, NamedAlike& n) { n.bucket = inStandardModule(e); });
  markKind({&elements.events}, Rivals::kSameBucket, preparation,
           [](const Element& e, NamedAlike& n) { n.takesPart = !inStandardModule(e); });
  markKind({&elements.gets, &elements.sets, &elements.lets},
           Rivals::kOtherBucket, preparation, [](const Element& e, NamedAlike& n) {
             n.bucket = reinterpret_cast<std::uintptr_t>(e.cmo);
           });
  markKind({&elements.variables}, Rivals::kSameBucket, preparation,
           [](const Element&, NamedAlike&) {});
  markKind({&elements.constants}, Rivals::kSameBucket, preparation,
           [](const Element&, NamedAlike&) {});
  // Enums and types share one name space.
  markKind({&elements.enums, &elements.types}, Rivals::kSameBucket,
           preparation, [](const Element&, NamedAlike&) {});
}

std::string compile(Element& element, PageContext& context) {
  MacroEngine& engine = context.engine;
  CommentParser& parser = context.parser;
  const ProjectSettings& settings = context.settings;
  bool module = element.kind() == ElementKind::Smodule;
  bool valueKind = element.kind() == ElementKind::Svariable ||
                   element.kind() == ElementKind::Sconstant;

  auto set = [&context](PageMacro which, MacroValue value) {
    setPageMacro(context, which, std::move(value));
  };

  const DeclaredBlock* block = declaredBlockOf(element);
  // Read before the element's own comment takes the parser.
  MacroList items;
  if (block) items = itemList(element, *block, context);
  set(pageItems, makeList(std::move(items)));

  parser.readComment(element.comment);
  if (module) {
    set(pageApplies, listOf({}));
    set(pageProps, context.preparation.getPropsList(element));
    set(pageMethods, context.preparation.getMethodsList(element));
    set(pageEvents, context.preparation.getEventsList(element));
    set(pageEnums, context.preparation.getEnumsList(element));
    set(pageTypes, context.preparation.getTypesList(element));
  } else {
    set(pageApplies, context.preparation.getAppliesList(element));
  }
  set(pageSee, shownLinks(parser.getSeeList(), element, context));
  // Pages without parameters or settings tables clear them, so that a page
  // never shows those of the page compiled before it.
  MacroList params;
  if (!module && !valueKind && !block) params = parser.getParamList();
  std::shared_ptr<Element> type;
  if (element.isProcedure() || valueKind) {
    // A project without documented enums and types has no type to link
    // to: its pages read no declaration for one.
    tolerated([&] {
      if (!context.preparation.hasDocumentedTypes()) return;
      ProcDefinition definition;
      definition.pLine = statementOf(element);
      definition.parse();
      if (!params.empty())
        linkParameterTypes(element, context, definition, params);
      type = declaredType(element, context, definition);
    });
  }
  set(pageParams, makeList(std::move(params)));
  set(pageType, type ? type->name() : std::string());
  set(pageTypeLocation, type ? type->moduleName() : std::string());
  std::array<std::vector<std::string>, 3> settingsLists;
  if (!module) settingsLists = parser.getSettingsList();
  set(pageSet01, listOf(settingsLists[0]));
  set(pageSet02, listOf(settingsLists[1]));
  set(pageSet03, listOf(settingsLists[2]));
  set(pageExamples, shownLinks(parser.getExampleList(), element, context));

  std::string description = parser.getDescription();
  set(pageDescription, description);
  set(pageRemarks, parser.getRemarks());
  set(pageReturn, memberReturn(element, parser));
  std::string name = element.name();
  std::string moduleName = element.moduleName();
  set(pageName, name);
  set(pageModule, moduleName);
  set(pageFile, pageFileStem(element, context));
  set(pageModuleFile, modulePageFile(element, context));
  set(pageAuthor, parser.getAuthor());
  set(pageRevision, parser.getRevision());
  set(pageVersion, parser.getVersion());
  for (int n = 1; n <= 5; ++n) {
    std::string value = parser.getUser(n);
    const auto index = static_cast<std::size_t>(n - 1);
    const std::string& tagName = settings.userName[index];
    PageContext::UserMacro& user = context.userMacros[index];
    if (user.name.empty() || user.tagName != tagName)
      user = {tagName, "MEMBER-" + upperCase(tagName), {}};
    engine.setMacroValue(user.name, value, user.handle);
    set(static_cast<PageMacro>(pageUser1 + n - 1), value);
  }

  tolerated([&] { setScope(element, context); });
  set(pageDeclaration, "");
  if (block)
    set(pageDeclaration, blockDeclaration(*block));
  else if (!module)
    tolerated([&] {
      set(pageDeclaration,
                           doubledDollars(statementOf(element)));
    });
  set(pageSourceCode, "");
  if (!module)
    tolerated([&] {
      set(pageSourceCode, includedSource(element, context));
    });
  if (settings.comWriteDescription)
    tolerated([&] { writeDescription(element, description); });
  set(pageNeedsModule,
                       !module && element.needsModule ? "1" : "");
  // Whether a member page may link to its module's page: standard modules
  // have none by default.
  set(pageModulePage,
      modulePageWritten(componentType(element), settings) ? "1" : "");
  return engine.evaluateMacro(bodySection(element), false);
}

}  // namespace scrivlet
