#include "source/project_loader.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#include "base/text.h"
#include "source/declared_blocks.h"
#include "source/element_returns.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

// The line after its leading spaces; tabs count as text. Every line of a
// module passes through these tests, so they look without copying.
std::string_view afterSpaces(std::string_view line) {
  std::size_t first = line.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

bool isBlank(std::string_view line) { return afterSpaces(line).empty(); }

bool isCommentLine(std::string_view line) {
  return afterSpaces(line).starts_with('\'');
}

bool isOpener(std::string_view line) { return afterSpaces(line).starts_with("'**"); }

std::string lineOf(const CodeModule& module, long line) {
  return module.Lines(line, 1);
}

// Whether the settings document a module of this component kind.
bool documentsModuleKind(const ProjectSettings& settings, int type) {
  if (type == vbext_ct_StdModule) return settings.comStdModule;
  if (type == vbext_ct_MSForm || type == vbext_ct_VBForm ||
      type == vbext_ct_VBMDIForm)
    return settings.comForm;
  return settings.comObject;
}

bool documentsScope(const ProjectSettings& settings, int scope) {
  if (scope == vbext_Friend) return settings.comFriend;
  if (scope == vbext_Private) return settings.comPrivate;
  return settings.comPublic;
}

}  // namespace

std::vector<std::string> getModuleComment(const CodeModule& module) {
  std::vector<std::string> comment;
  long count = module.CountOfLines();
  long first = 1;
  while (first <= count && isBlank(lineOf(module, first))) ++first;
  if (first > count || !isOpener(lineOf(module, first))) return comment;
  for (long i = first + 1; i <= count; ++i) {
    std::string line = lineOf(module, i);
    if (!isCommentLine(line)) break;
    comment.push_back(std::move(line));
  }
  return comment;
}

std::vector<std::string> ProjectLoader::getComment(Element& element) {
  ModuleLoad load;
  load.firstHelpID = store_.counter;
  std::vector<std::string> comment = commentAbove(element, load);
  store_.counter += load.helpIDs;
  return comment;
}

long ProjectLoader::nextHelpID(ModuleLoad& load) {
  return load.firstHelpID + load.helpIDs++;
}

std::vector<std::string> ProjectLoader::commentAbove(Element& element,
                                                     ModuleLoad& load) {
  std::vector<std::string> comment = readCommentAbove(element);
  element.helpID = nextHelpID(load);
  if (settings_.comContextID && element.member)
    element.member->setHelpContextID(element.helpID);
  return comment;
}

std::vector<std::string> ProjectLoader::readCommentAbove(Element& element) {
  std::vector<std::string> comment;
  const CodeModule& module = *element.cmo;
  long declaration = element.CodeLocation();
  long bottom = declaration - 1;
  while (bottom >= 1 && isBlank(lineOf(module, bottom))) --bottom;
  long opener = bottom;
  while (opener >= 1) {
    std::string line = lineOf(module, opener);
    if (!isCommentLine(line)) {
      opener = 0;
      break;
    }
    if (isOpener(line)) break;
    --opener;
  }
  if (declaration > 1 && opener >= 1) {
    for (long i = opener + 1; i <= bottom; ++i)
      comment.push_back(lineOf(module, i));
    element.hadComment = !comment.empty();
  }
  return comment;
}

bool ProjectLoader::admitElement(Element& element) {
  if (!element.hadComment) {
    if (!settings_.comNonCommented) return false;
    element.comment = skeleton_ ? skeleton_(element) : std::vector<std::string>();
    return true;
  }
  for (std::string& line : element.comment) {
    std::size_t last = line.find_last_not_of(' ');
    line.erase(last == std::string::npos ? 0 : last + 1);
    line.erase(0, line.find_first_not_of(' '));
    if (startsWith(line, "'")) line.erase(0, 1);
  }
  return true;
}

void ProjectLoader::admitAndAdd(const std::shared_ptr<Element>& element,
                                ModuleLoad& load) {
  if (admitElement(*element)) load.admitted.push_back(element);
}

void ProjectLoader::loadProject() {
  std::vector<CodeModule*> modules;
  modules.reserve(settings_.selectedModules.size());
  for (const auto& entry : settings_.selectedModules)
    modules.push_back(entry.item);
  std::vector<ModuleLoad> loads(modules.size());
  // Help numbers written into the code are given out in order, module
  // after module; otherwise the modules load on two threads, each
  // numbering its own help numbers from 0 until they are merged.
  // A host whose modules are being edited in windows is read on its own
  // thread only.
  bool threads = modules.size() >= 2 &&
                 std::all_of(modules.begin(), modules.end(), [](CodeModule* m) {
                   return m->readableFromAnyThread();
                 });
  if (settings_.comContextID || !threads) {
    for (std::size_t i = 0; i < modules.size(); ++i) {
      loads[i].firstHelpID = store_.counter;
      if (!loadWhole(*modules[i], loads[i], true)) {
        store_.clearElements();
        blocks_.clear();
        return;
      }
      merge(loads[i]);
    }
    addBlocks();
    return;
  }
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
  std::thread helper;
  try {
    helper = std::thread([&] {
      try {
        for (std::size_t i = next++; i < modules.size() && !stop; i = next++)
          loadWhole(*modules[i], loads[i], false);
      } catch (...) {
        failure = std::current_exception();
        stop = true;
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: this one takes every module.
  }
  bool aborted = false;
  try {
    for (std::size_t i = next++; i < modules.size() && !stop; i = next++)
      if (!loadWhole(*modules[i], loads[i], true)) {
        aborted = true;
        break;
      }
  } catch (...) {
    stop = true;
    if (helper.joinable()) helper.join();
    throw;
  }
  stop = true;
  if (helper.joinable()) helper.join();
  if (failure) std::rethrow_exception(failure);
  // The helper may have taken every module, leaving none to ask about.
  if (aborted || progress_.abortCheck()) {
    store_.clearElements();
    blocks_.clear();
    return;
  }
  for (ModuleLoad& load : loads) merge(load);
  addBlocks();
}

bool ProjectLoader::loadWhole(CodeModule& module, ModuleLoad& load,
                              bool checkAbort) {
  bool anyModules =
      settings_.comStdModule || settings_.comObject || settings_.comForm;
  if (anyModules) {
    try {
      loadModule(module, load);
    } catch (const std::exception&) {
    }
  }
  for (const std::shared_ptr<Member>& member : module.Members()) {
    if (checkAbort && progress_.abortCheck()) return false;
    try {
      loadMember(module, member, load);
    } catch (const std::exception&) {
    }
  }
  loadBlocks(module, load);
  return true;
}

void ProjectLoader::merge(ModuleLoad& load) {
  const long shift = store_.counter - load.firstHelpID;
  for (const std::shared_ptr<Element>& element : load.admitted) {
    element->helpID += shift;
    store_.addElement(element);
  }
  store_.counter += load.helpIDs;
  for (std::shared_ptr<Element>& block : load.blocks)
    blocks_.push_back(std::move(block));
  load = ModuleLoad();
}

void ProjectLoader::loadBlocks(CodeModule& module, ModuleLoad& load) {
  bool enums = documentEnums && settings_.comEnum;
  bool types = documentTypes && settings_.comType;
  if (!enums && !types) return;
  for (DeclaredBlock& found : findDeclaredBlocks(module)) {
    if (!(found.isEnum ? enums : types) ||
        !documentsScope(settings_, found.scope))
      continue;
    try {
      auto element =
          makeElement(found.isEnum ? ElementKind::Senum : ElementKind::Stype);
      element->cmo = &module;
      element->member = std::make_shared<BlockMember>(
          std::make_shared<const DeclaredBlock>(std::move(found)), &module);
      element->comment = readCommentAbove(*element);
      if (admitElement(*element)) load.blocks.push_back(element);
    } catch (const std::exception&) {
    }
  }
}

// Every admitted block takes the next number, in loading order; none is
// written into the code, which has no place for it.
void ProjectLoader::addBlocks() {
  for (const std::shared_ptr<Element>& block : blocks_) {
    block->helpID = store_.counter++;
    store_.addElement(block);
  }
  blocks_.clear();
}

void ProjectLoader::loadModule(CodeModule& module, ModuleLoad& load) {
  auto element = makeElement(ElementKind::Smodule);
  element->cmo = &module;
  element->comment = getModuleComment(module);
  element->hadComment = !element->comment.empty();
  element->helpID = nextHelpID(load);
  VBComponent* component = module.Parent();
  if (settings_.comContextID && component)
    component->setHelpContextID(element->helpID);
  int type = component ? component->Type() : vbext_ct_ClassModule;
  if (documentsModuleKind(settings_, type)) admitAndAdd(element, load);
}

void ProjectLoader::loadMember(CodeModule& module,
                               const std::shared_ptr<Member>& member,
                               ModuleLoad& load) {
  std::shared_ptr<Element> element = elementForMember(module, member);
  if (!element || !documentsScope(settings_, member->Scope())) return;
  switch (element->kind()) {
    case ElementKind::Sconstant:
      if (!settings_.comConstant) return;
      break;
    case ElementKind::Sevent:
      if (!settings_.comEvent) return;
      break;
    case ElementKind::Smethod:
      if (!settings_.comMethod) return;
      break;
    case ElementKind::SpropGet:
    case ElementKind::SpropLet:
    case ElementKind::SpropSet:
      if (settings_.comProperty) loadProperty(module, member, load);
      return;
    case ElementKind::Svariable:
      loadClassVariable(element, load);
      return;
    case ElementKind::Smodule:
    case ElementKind::Senum:
    case ElementKind::Stype:
      return;
  }
  element->comment = commentAbove(*element, load);
  admitAndAdd(element, load);
}

// Every procedure of a property is its own element, Let before Set before
// Get, each with the comment above its own declaration.
void ProjectLoader::loadProperty(CodeModule& module,
                                 const std::shared_ptr<Member>& member,
                                 ModuleLoad& load) {
  for (int kind : {vbext_pk_Let, vbext_pk_Set, vbext_pk_Get}) {
    long body = module.procBodyLineIfAny(member->Name(), kind);
    if (body == 0) continue;
    try {
      if (!load.locator)
        load.locator = std::make_unique<ElementLocator>(module);
      std::shared_ptr<Element> element =
          load.locator->elementAtLine(statementStartLine(module, body));
      element->comment = commentAbove(*element, load);
      admitAndAdd(element, load);
    } catch (const std::exception&) {
    }
  }
}

// A public variable of a class, form or other object module is a property
// of it: documented as a Get and Set pair. Any other variable stands alone.
void ProjectLoader::loadClassVariable(const std::shared_ptr<Element>& variable,
                                      ModuleLoad& load) {
  VBComponent* component = variable->cmo->Parent();
  bool standardModule = component && component->Type() == vbext_ct_StdModule;
  if (variable->member->Scope() != vbext_Public || standardModule) {
    if (!settings_.comVariable) return;
    variable->comment = commentAbove(*variable, load);
    admitAndAdd(variable, load);
    return;
  }
  if (!settings_.comProperty) return;
  std::vector<std::string> getComments = commentAbove(*variable, load);
  std::vector<std::string> setComments = commentAbove(*variable, load);

  auto side = [&](ElementKind kind, std::vector<std::string> comment) {
    auto element = makeElement(kind);
    element->member = variable->member;
    element->cmo = variable->cmo;
    element->comment = std::move(comment);
    element->hadComment = variable->hadComment;
    element->helpID = variable->helpID;
    return element;
  };
  auto get = side(ElementKind::SpropGet, std::move(getComments));
  admitAndAdd(get, load);
  auto set = side(ElementKind::SpropSet, std::move(setComments));
  if (admitElement(*set)) {
    set->comment.push_back("@param vData " + getReturns(*get));
    load.admitted.push_back(set);
  }
}

}  // namespace scrivlet
