#include "platform/disk_vb_project.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/file_system.h"
#include "base/path_within.h"
#include "base/text.h"
#include "platform/disk_code_module.h"
#include "platform/disk_path.h"

namespace scrivlet {

namespace {

struct ComponentLine {
  const char* key;
  int type;
  bool namedBeforeSemicolon;  // "Class=Name; path"
  bool hasCode;
};

constexpr ComponentLine kComponentLines[] = {
    {"Module", vbext_ct_StdModule, true, true},
    {"Class", vbext_ct_ClassModule, true, true},
    {"Form", vbext_ct_VBForm, false, true},
    {"PropertyPage", vbext_ct_PropPage, false, true},
    {"UserControl", vbext_ct_UserControl, false, true},
    {"UserDocument", vbext_ct_DocObject, false, true},
    {"Designer", vbext_ct_ActiveXDesigner, false, true},
    {"RelatedDoc", vbext_ct_RelatedDocument, false, false},
    {"ResFile32", vbext_ct_ResFile, false, false},
};

// The class id of the forms designer: a designer file made with it is a
// form of that kind, not an ActiveX designer.
constexpr std::string_view kFormsDesignerClass =
    "{C62A69F0-16DC-11CE-9E98-00AA00574A4F}";

bool isLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E:
    case 0x9F:
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

std::string stem(const std::string& fileName) {
  std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

int refineType(int type, const DiskCodeModule& module) {
  std::string designer = module.designerLine();
  if (type == vbext_ct_VBForm &&
      equalsNoCase(designer.substr(0, 16), "Begin VB.MDIForm"))
    return vbext_ct_VBMDIForm;
  if (type == vbext_ct_ActiveXDesigner &&
      foldCase(designer).find(foldCase(kFormsDesignerClass)) != std::string::npos)
    return vbext_ct_MSForm;
  return type;
}

}  // namespace

bool isValidModuleName(std::string_view name) {
  if (name.empty() || !isLetter(static_cast<unsigned char>(name.front())))
    return false;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (!isLetter(u) && !(u >= '0' && u <= '9') && c != '_') return false;
  }
  return true;
}

std::string projectNameFromFile(std::string_view stem) {
  std::string name(stem);
  for (char& c : name) {
    auto u = static_cast<unsigned char>(c);
    if (!isLetter(u) && !(u >= '0' && u <= '9')) c = '_';
  }
  return name;
}

std::unique_ptr<DiskVBProject> DiskVBProject::open(
    const std::string& path, std::vector<std::string>& messages,
    std::string& error) {
  std::string bytes;
  if (!readFileBytes(path, bytes, error)) return nullptr;
  DiskProjectFile file(bytes);
  std::string type;
  // Every project file starts with its Type line (Exe, OleDll, Control,
  // OleExe); a group file, a module or a binary file has none.
  if (bytes.find('\0') != std::string::npos || !file.value("Type", type)) {
    error = "\"" + path + "\" is not a Visual Basic project file";
    return nullptr;
  }
  auto project = std::make_unique<DiskVBProject>(path, std::move(file));
  // The name reaches file names and, in the after-compile commands, the
  // command interpreter: Visual Basic itself accepts only an identifier.
  if (!isValidModuleName(project->Name())) {
    error = "Project name \"" + project->Name() + "\" in \"" + path +
            "\" is not a valid Visual Basic name; the project is skipped";
    return nullptr;
  }
  project->loadComponents(messages);
  return project;
}

// The full path, whatever form the project was named in ("Calc.vbp",
// "./Calc.vbp", "../x/Calc.vbp"): folders in its settings are relative to
// its folder, which a bare file name would not give.
std::string fullPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

DiskVBProject::DiskVBProject(std::string path, DiskProjectFile file)
    : path_(fullPath(path)), file_(std::move(file)) {
  std::filesystem::path p(path_);
  folder_ = p.parent_path().string();
  if (folder_.empty()) folder_.assign(1, '.');  // assign(".") trips a false -Wrestrict in GCC 12
  std::string name;
  if (file_.value("Name", name)) name_ = unquoteProjectValue(name);
  if (name_.empty()) name_ = projectNameFromFile(p.stem().string());
}

DiskVBProject::~DiskVBProject() = default;

// A component line of the project file, read: what it declares and where
// its file is; then, for a module, the file's code.
struct DiskVBProject::PlannedComponent {
  const ComponentLine* kind = nullptr;
  std::string declared;
  std::string resolved;
  std::string fileName;
  bool read = false;
  std::string readError;
  std::unique_ptr<DiskCodeModule> module;
};

void DiskVBProject::loadComponents(std::vector<std::string>& messages) {
  std::vector<PlannedComponent> planned;
  for (const DiskProjectFile::Entry& entry : file_.entries())
    planned.push_back(plan(entry.key, entry.value));
  readModules(planned);
  for (PlannedComponent& component : planned) addComponent(component, messages);
  moduleFiles_.clear();
}

// Visual Basic holds one module of a name; a second one in the project file
// (an edit gone wrong, a merge) would otherwise vanish from everything that
// looks modules up by name, its documentation with it, without a word.
bool DiskVBProject::firstOfItsName(const std::string& name,
                                   const std::string& path,
                                   std::vector<std::string>& messages) {
  auto [first, added] = moduleFiles_.try_emplace(foldCase(name), path);
  if (added) return true;
  messages.push_back("WARNING: Module name \"" + name + "\" in \"" + path +
                     "\" is the name of the module in \"" + first->second +
                     "\" too (letter case aside); \"" + path +
                     "\" is skipped");
  return false;
}

DiskVBProject::PlannedComponent DiskVBProject::plan(const std::string& key,
                                                    const std::string& value) const {
  PlannedComponent planned;
  for (const ComponentLine& line : kComponentLines)
    if (equalsNoCase(key, line.key)) planned.kind = &line;
  if (!planned.kind) return planned;
  std::string written = value;
  std::size_t semicolon = value.find(';');
  if (planned.kind->namedBeforeSemicolon && semicolon != std::string::npos) {
    planned.declared = trim(value.substr(0, semicolon));
    written = value.substr(semicolon + 1);
  }
  written = unquoteProjectValue(written);
  planned.resolved = resolveWrittenPath(folder_, written);
  planned.fileName = writtenFileName(written);
  return planned;
}

// Reading and parsing the module files is most of opening a large project,
// and each file stands on its own: they are shared out between threads,
// and added to the project in its file's order afterwards.
void DiskVBProject::readModules(std::vector<PlannedComponent>& planned) {
  auto readOne = [](PlannedComponent& component) {
    if (!component.kind || !component.kind->hasCode) return;
    std::string bytes;
    component.read =
        readFileBytes(component.resolved, bytes, component.readError);
    if (component.read)
      component.module = std::make_unique<DiskCodeModule>(
          nullptr, std::move(bytes), component.resolved);
  };
  constexpr std::size_t kModulesPerThread = 16;
  std::size_t threads = std::min<std::size_t>(
      {std::max(1u, std::thread::hardware_concurrency()), 8,
       planned.size() / kModulesPerThread});
  if (threads < 2) {
    for (PlannedComponent& component : planned) readOne(component);
    return;
  }
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i = next++; i < planned.size(); i = next++)
      readOne(planned[i]);
  };
  std::vector<std::thread> helpers;
  for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
}

void DiskVBProject::addComponent(PlannedComponent& planned,
                                 std::vector<std::string>& messages) {
  const ComponentLine* kind = planned.kind;
  if (!kind) return;
  if (!kind->hasCode) {
    components_.push_back(std::make_unique<DiskVBComponent>(
        planned.fileName, kind->type, planned.resolved));
    return;
  }

  std::string fallbackName =
      planned.declared.empty() ? stem(planned.fileName) : planned.declared;
  if (!planned.read) {
    if (!firstOfItsName(fallbackName, planned.resolved, messages)) return;
    messages.push_back(planned.readError + "; " + fallbackName +
                       " stays in the project without its code");
    components_.push_back(std::make_unique<DiskVBComponent>(
        fallbackName, kind->type, planned.resolved));
    return;
  }
  std::unique_ptr<DiskCodeModule> module = std::move(planned.module);
  const std::string& resolved = planned.resolved;
  std::string name = unquoteAttribute(module->moduleAttribute("VB_Name"));
  if (name.empty()) name = fallbackName;
  if (!firstOfItsName(name, resolved, messages)) return;
  auto component = std::make_unique<DiskVBComponent>(
      name, refineType(kind->type, *module), resolved);
  if (!isValidModuleName(name)) {
    messages.push_back("Module name \"" + name + "\" in \"" + resolved +
                       "\" is not a valid name; the module stays in the "
                       "project without its code");
  } else {
    module->setParent(component.get());
    component->setCodeModule(std::move(module));
  }
  components_.push_back(std::move(component));
}

std::vector<VBComponent*> DiskVBProject::VBComponents() const {
  std::vector<VBComponent*> result;
  result.reserve(components_.size());
  for (const auto& c : components_) result.push_back(c.get());
  return result;
}

DiskVBComponent* DiskVBProject::component(const std::string& name) const {
  for (const auto& c : components_)
    if (equalsNoCase(c->Name(), name)) return c.get();
  return nullptr;
}

std::string DiskVBProject::HelpFile() const {
  std::string value;
  return file_.value("HelpFile", value) ? unquoteProjectValue(value) : "";
}

void DiskVBProject::setHelpFile(const std::string& path) {
  file_.setValue("HelpFile", quoteProjectValue(path));
}

std::string DiskVBProject::Description() const {
  std::string value;
  return file_.value("Description", value) ? unquoteProjectValue(value) : "";
}

void DiskVBProject::setDescription(const std::string& text) {
  file_.setValue("Description", quoteProjectValue(text));
}

long DiskVBProject::HelpContextID() const {
  std::string value;
  if (!file_.value("HelpContextID", value)) return 0;
  return std::strtol(unquoteProjectValue(value).c_str(), nullptr, 10);
}

void DiskVBProject::setHelpContextID(long id) {
  file_.setValue("HelpContextID", quoteProjectValue(std::to_string(id)));
}

bool DiskVBProject::changed() const {
  if (file_.changed()) return true;
  for (const auto& c : components_)
    if (c->diskCodeModule() && c->diskCodeModule()->changed()) return true;
  return false;
}

bool DiskVBProject::inFolder(const std::string& file) const {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::canonical(folder_, ec);
  if (ec) return false;
  std::filesystem::path real = std::filesystem::canonical(file, ec);
  if (ec) return false;
  return isWithinFolder(real, folder);
}

void DiskVBProject::saveChanged(std::vector<std::string>& errors,
                                bool outsideAllowed) {
  std::string error;
  if (file_.changed()) {
    if (writeFileAtomically(path_, file_.toBytes(), error))
      file_.markSaved();
    else
      errors.push_back(error);
  }
  for (const auto& c : components_) {
    DiskCodeModule* module = c->diskCodeModule();
    if (!module || !module->changed()) continue;
    if (!outsideAllowed && !inFolder(module->filePath())) {
      errors.push_back("\"" + module->filePath() +
                       "\" is not written: it lies outside the folder of the "
                       "project \"" + path_ + "\"");
      continue;
    }
    if (!module->save(error)) errors.push_back(error);
  }
}

}  // namespace scrivlet
