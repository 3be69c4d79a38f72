#include "source/project_loader.h"

#include "source/element_returns.h"
#include "source/source_lines.h"
#include "source/text.h"

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

long ProjectLoader::nextHelpID() { return store_.counter++; }

std::vector<std::string> ProjectLoader::getComment(Element& element) {
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
  element.helpID = nextHelpID();
  if (settings_.comContextID && element.member)
    element.member->setHelpContextID(element.helpID);
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

void ProjectLoader::admitAndAdd(const std::shared_ptr<Element>& element) {
  if (admitElement(*element)) store_.addElement(element);
}

void ProjectLoader::loadProject() {
  bool anyModules =
      settings_.comStdModule || settings_.comObject || settings_.comForm;
  for (const auto& entry : settings_.selectedModules) {
    CodeModule& module = *entry.item;
    locator_.reset();
    if (anyModules) {
      try {
        loadModule(module);
      } catch (const std::exception&) {
      }
    }
    for (const std::shared_ptr<Member>& member : module.Members()) {
      if (progress_.abortCheck()) {
        store_.clearElements();
        return;
      }
      try {
        loadMember(module, member);
      } catch (const std::exception&) {
      }
    }
  }
  locator_.reset();
}

void ProjectLoader::loadModule(CodeModule& module) {
  auto element = makeElement(ElementKind::Smodule);
  element->cmo = &module;
  element->comment = getModuleComment(module);
  element->hadComment = !element->comment.empty();
  element->helpID = nextHelpID();
  VBComponent* component = module.Parent();
  if (settings_.comContextID && component)
    component->setHelpContextID(element->helpID);
  int type = component ? component->Type() : vbext_ct_ClassModule;
  if (documentsModuleKind(settings_, type)) admitAndAdd(element);
}

void ProjectLoader::loadMember(CodeModule& module,
                               const std::shared_ptr<Member>& member) {
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
      if (settings_.comProperty) loadProperty(module, member);
      return;
    case ElementKind::Svariable:
      loadClassVariable(element);
      return;
    case ElementKind::Smodule:
      return;
  }
  element->comment = getComment(*element);
  admitAndAdd(element);
}

// Every procedure of a property is its own element, Let before Set before
// Get, each with the comment above its own declaration.
void ProjectLoader::loadProperty(CodeModule& module,
                                 const std::shared_ptr<Member>& member) {
  for (int kind : {vbext_pk_Let, vbext_pk_Set, vbext_pk_Get}) {
    long body = module.procBodyLineIfAny(member->Name(), kind);
    if (body == 0) continue;
    try {
      if (!locator_) locator_ = std::make_unique<ElementLocator>(module);
      std::shared_ptr<Element> element =
          locator_->elementAtLine(statementStartLine(module, body));
      element->comment = getComment(*element);
      admitAndAdd(element);
    } catch (const std::exception&) {
    }
  }
}

// A public variable of a class, form or other object module is a property
// of it: documented as a Get and Set pair. Any other variable stands alone.
void ProjectLoader::loadClassVariable(const std::shared_ptr<Element>& variable) {
  VBComponent* component = variable->cmo->Parent();
  bool standardModule = component && component->Type() == vbext_ct_StdModule;
  if (variable->member->Scope() != vbext_Public || standardModule) {
    if (!settings_.comVariable) return;
    variable->comment = getComment(*variable);
    admitAndAdd(variable);
    return;
  }
  if (!settings_.comProperty) return;
  std::vector<std::string> getComments = getComment(*variable);
  std::vector<std::string> setComments = getComment(*variable);

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
  admitAndAdd(get);
  auto set = side(ElementKind::SpropSet, std::move(setComments));
  if (admitElement(*set)) {
    set->comment.push_back("@param vData " + getReturns(*get));
    store_.addElement(set);
  }
}

}  // namespace scrivlet
