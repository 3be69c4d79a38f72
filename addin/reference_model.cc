#include "addin/reference_model.h"

#include <algorithm>

#include "base/text.h"

namespace scrivlet {

namespace {

struct PropertyEntry {
  int kind;
  const char* bracket;
};
// The order the list shows a property's procedures in.
constexpr PropertyEntry kPropertyEntries[] = {
    {vbext_pk_Let, " [PropertyLet]"},
    {vbext_pk_Set, " [PropertySet]"},
    {vbext_pk_Get, " [PropertyGet]"},
};

bool hasProcedure(const CodeModule& module, const std::string& name, int kind) {
  try {
    module.ProcBodyLine(name, kind);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void addOnce(std::vector<std::string>& list, const std::string& entry) {
  if (std::find(list.begin(), list.end(), entry) == list.end())
    list.push_back(entry);
}

// "C:\Docs\sample.txt" and "/docs/sample.txt" both name "sample.txt": links
// written on Windows keep their backslashes.
std::string fileNamePart(const std::string& path) {
  std::size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

ReferenceModel::ReferenceModel(const ProjectSettings& settings)
    : settings_(settings) {}

void ReferenceModel::initBoth() {
  choiceVisible_ = true;
  page_ = Page::member;
}

void ReferenceModel::initFile() {
  choiceVisible_ = false;
  page_ = Page::file;
}

void ReferenceModel::initMember() {
  choiceVisible_ = false;
  page_ = Page::member;
}

std::vector<std::string> ReferenceModel::moduleNames() const {
  std::vector<std::string> names;
  for (const auto& entry : settings_.selectedModules)
    names.push_back(entry.item->Name());
  return names;
}

std::vector<std::string> ReferenceModel::memberEntriesOf(
    const CodeModule& module) {
  std::vector<std::string> entries;
  for (const std::shared_ptr<Member>& member : module.Members()) {
    std::string name = member->Name();
    if (member->Type() != vbext_mt_Property) {
      addOnce(entries, name);
      continue;
    }
    for (const PropertyEntry& p : kPropertyEntries)
      if (hasProcedure(module, name, p.kind)) addOnce(entries, name + p.bracket);
  }
  return entries;
}

void ReferenceModel::selectModule(const std::string& name) {
  moduleText_ = name;
  entries_.clear();
  selectedMember_ = -1;
  for (const auto& entry : settings_.selectedModules) {
    if (entry.item->Name() != name) continue;
    entries_.push_back(moduleItselfEntry);
    try {
      for (const std::string& member : memberEntriesOf(*entry.item))
        addOnce(entries_, member);
    } catch (const std::exception&) {
    }
    break;
  }
}

void ReferenceModel::selectMember(int index) {
  selectedMember_ =
      index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

bool ReferenceModel::selectMemberEntry(const std::string& entry) {
  auto it = std::find(entries_.begin(), entries_.end(), entry);
  if (it == entries_.end()) return false;
  selectedMember_ = static_cast<int>(it - entries_.begin());
  return true;
}

std::string ReferenceModel::editedModuleName() const {
  return wrapper ? wrapper->moduleName() : std::string();
}

std::string ReferenceModel::editedMemberName() const {
  return wrapper ? wrapper->name() : std::string();
}

// "Calc.Total'let" -> Calc, "Total [PropertyLet]"; ".Refresh" -> the
// edited module, "Refresh"; "Main." -> Main, the edited member; "" -> the
// edited module itself.
void ReferenceModel::showCurrentReference() {
  if (startsWith(selected, "\"")) {
    fileName = selected.substr(1);
    std::vector<std::string> modules = moduleNames();
    selectModule(modules.empty() ? std::string() : modules.front());
    selectedMember_ = -1;
    page_ = Page::file;
    return;
  }
  fileName.clear();
  std::size_t dot = selected.find('.');
  std::size_t apostrophe = selected.find('\'');
  std::string modulePart = selected.substr(0, dot);
  std::string suffix =
      apostrophe == std::string::npos ? "" : selected.substr(apostrophe);
  std::string memberPart;
  if (dot != std::string::npos) {
    std::size_t end = apostrophe != std::string::npos && apostrophe > dot
                          ? apostrophe
                          : selected.size();
    memberPart = selected.substr(dot + 1, end - dot - 1);
  }
  if (modulePart.empty()) modulePart = editedModuleName();
  if (memberPart.empty() && dot != std::string::npos)
    memberPart = editedMemberName();
  std::string bracket;
  if (suffix == "'set") bracket = " [PropertySet]";
  else if (suffix == "'let") bracket = " [PropertyLet]";
  else if (!suffix.empty()) bracket = " [PropertyGet]";

  selectModule(modulePart);
  if (memberPart.empty()) {
    selectMemberEntry(moduleItselfEntry);
    return;
  }
  if (selectMemberEntry(memberPart + bracket) || !bracket.empty()) return;
  // A bare name of a property tries Set, then Let, then Get.
  for (const char* tryBracket :
       {" [PropertySet]", " [PropertyLet]", " [PropertyGet]"})
    if (selectMemberEntry(memberPart + tryBracket)) return;
}

std::string ReferenceModel::propertySuffix(const std::string& entry) {
  if (entry.find('[') == std::string::npos) return "";
  if (endsWith(entry, " [PropertySet]")) return "'set";
  if (endsWith(entry, " [PropertyLet]")) return "'let";
  return "'get";
}

const std::string& ReferenceModel::fileDialogFolder() const {
  return settings_.outputPath;
}

std::string ReferenceModel::proposedFileName() const {
  if (!fileName.empty()) return fileName;
  return editedModuleName() + "_" + editedMemberName() + "_example.txt";
}

void ReferenceModel::fileChosen(const std::string& path) {
  if (!path.empty()) fileName = path;
}

std::string ReferenceModel::ok() {
  selected.clear();
  if (page_ == Page::file) {
    // An empty box names no file; a bare quote would be a link to nothing.
    if (!trim(fileName).empty())
      selected = '"' + (absolutePath ? fileName : fileNamePart(fileName));
    return selected;
  }
  if (selectedMember_ < 0) return selected;
  const std::string& entry = entries_[static_cast<std::size_t>(selectedMember_)];
  if (entry == moduleItselfEntry) {
    selected = moduleText_;
    return selected;
  }
  std::string name = trim(entry.substr(0, entry.find('[')));
  std::string module = moduleText_ == editedModuleName() ? "" : moduleText_;
  selected = module + "." + name + propertySuffix(entry);
  return selected;
}

}  // namespace scrivlet
