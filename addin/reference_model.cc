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

void ReferenceModel::setWrapper(std::shared_ptr<Element> element) {
  wrapper_ = std::move(element);
  changes_.notify();
}

void ReferenceModel::setSelected(const std::string& link) {
  selected_ = link;
  changes_.notify();
}

void ReferenceModel::initBoth() {
  choiceVisible_ = true;
  page_ = Page::member;
  changes_.notify();
}

void ReferenceModel::initFile() {
  choiceVisible_ = false;
  page_ = Page::file;
  changes_.notify();
}

void ReferenceModel::initMember() {
  choiceVisible_ = false;
  page_ = Page::member;
  changes_.notify();
}

void ReferenceModel::choosePage(Page page) {
  if (page == page_) return;
  page_ = page;
  changes_.notify();
}

std::vector<std::string> ReferenceModel::moduleNames() const {
  std::vector<std::string> names;
  for (const auto& entry : settings_.selectedModules)
    names.push_back(entry.item->Name());
  return names;
}

int ReferenceModel::moduleIndex() const {
  std::vector<std::string> names = moduleNames();
  auto it = std::find(names.begin(), names.end(), moduleText_);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
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

void ReferenceModel::fillMembers(const std::string& moduleName) {
  moduleText_ = moduleName;
  entries_.clear();
  selectedMember_ = -1;
  for (const auto& entry : settings_.selectedModules) {
    if (entry.item->Name() != moduleName) continue;
    entries_.push_back(moduleItselfEntry);
    try {
      for (const std::string& member : memberEntriesOf(*entry.item))
        addOnce(entries_, member);
    } catch (const std::exception&) {
    }
    break;
  }
}

void ReferenceModel::selectModule(int index) {
  std::vector<std::string> names = moduleNames();
  fillMembers(index >= 0 && index < static_cast<int>(names.size())
                  ? names[static_cast<std::size_t>(index)]
                  : std::string());
  changes_.notify();
}

void ReferenceModel::selectMember(int index) {
  selectedMember_ =
      index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
  changes_.notify();
}

bool ReferenceModel::selectMemberEntry(const std::string& entry) {
  auto it = std::find(entries_.begin(), entries_.end(), entry);
  if (it == entries_.end()) return false;
  selectedMember_ = static_cast<int>(it - entries_.begin());
  return true;
}

std::string ReferenceModel::editedModuleName() const {
  return wrapper_ ? wrapper_->moduleName() : std::string();
}

std::string ReferenceModel::editedMemberName() const {
  return wrapper_ ? wrapper_->name() : std::string();
}

namespace {

// "Calc.Total'let" -> {"Calc", "Total", "'let"}; ".Refresh" -> {"",
// "Refresh", ""}; "Main." -> {"Main", "", ""}; "Stats" -> {"Stats", "", ""}.
struct LinkParts {
  std::string module;
  std::string member;
  std::string suffix;
  bool hasDot = false;
};

LinkParts splitLink(const std::string& link) {
  LinkParts parts;
  std::size_t dot = link.find('.');
  std::size_t apostrophe = link.find('\'');
  parts.hasDot = dot != std::string::npos;
  parts.module = link.substr(0, dot);
  if (apostrophe != std::string::npos) parts.suffix = link.substr(apostrophe);
  if (parts.hasDot) {
    std::size_t end = apostrophe != std::string::npos && apostrophe > dot
                          ? apostrophe
                          : link.size();
    parts.member = link.substr(dot + 1, end - dot - 1);
  }
  return parts;
}

std::string bracketOfSuffix(const std::string& suffix) {
  if (suffix == "'set") return " [PropertySet]";
  if (suffix == "'let") return " [PropertyLet]";
  return suffix.empty() ? "" : " [PropertyGet]";
}

}  // namespace

void ReferenceModel::showCurrentReference() {
  if (startsWith(selected_, "\"")) {
    fileName_ = selected_.substr(1);
    std::vector<std::string> modules = moduleNames();
    fillMembers(modules.empty() ? std::string() : modules.front());
    page_ = Page::file;
    changes_.notify();
    return;
  }
  fileName_.clear();
  LinkParts parts = splitLink(selected_);
  if (parts.module.empty()) parts.module = editedModuleName();
  if (parts.member.empty() && parts.hasDot) parts.member = editedMemberName();
  std::string bracket = bracketOfSuffix(parts.suffix);

  fillMembers(parts.module);
  if (parts.member.empty()) {
    selectMemberEntry(moduleItselfEntry);
  } else if (!selectMemberEntry(parts.member + bracket) && bracket.empty()) {
    // A bare name of a property tries Set, then Let, then Get.
    for (const char* tryBracket :
         {" [PropertySet]", " [PropertyLet]", " [PropertyGet]"})
      if (selectMemberEntry(parts.member + tryBracket)) break;
  }
  changes_.notify();
}

std::string ReferenceModel::propertySuffix(const std::string& entry) {
  if (entry.find('[') == std::string::npos) return "";
  if (endsWith(entry, " [PropertySet]")) return "'set";
  if (endsWith(entry, " [PropertyLet]")) return "'let";
  return "'get";
}

void ReferenceModel::setFileName(const std::string& text) {
  if (text == fileName_) return;
  fileName_ = text;
  changes_.notify();
}

void ReferenceModel::setAbsolutePath(bool on) {
  if (on == absolutePath_) return;
  absolutePath_ = on;
  changes_.notify();
}

const std::string& ReferenceModel::fileDialogFolder() const {
  return settings_.outputPath;
}

std::string ReferenceModel::proposedFileName() const {
  if (!fileName_.empty()) return fileName_;
  return editedModuleName() + "_" + editedMemberName() + "_example.txt";
}

void ReferenceModel::fileChosen(const std::string& path) {
  if (!path.empty()) setFileName(path);
}

std::string ReferenceModel::ok() {
  selected_.clear();
  if (page_ == Page::file) {
    // An empty box names no file; a bare quote would be a link to nothing.
    if (!trim(fileName_).empty())
      selected_ = '"' + (absolutePath_ ? fileName_ : fileNamePart(fileName_));
  } else if (selectedMember_ >= 0) {
    const std::string& entry =
        entries_[static_cast<std::size_t>(selectedMember_)];
    if (entry == moduleItselfEntry) {
      selected_ = moduleText_;
    } else {
      std::string name = trim(entry.substr(0, entry.find('[')));
      std::string module = moduleText_ == editedModuleName() ? "" : moduleText_;
      selected_ = module + "." + name + propertySuffix(entry);
    }
  }
  changes_.notify();
  return selected_;
}

void ReferenceModel::cancel() {
  selected_.clear();
  changes_.notify();
}

}  // namespace scrivlet
