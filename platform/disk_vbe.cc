#include "platform/disk_vbe.h"

#include <filesystem>

#include "base/text.h"
#include "platform/disk_path.h"
#include "platform/disk_project_file.h"

namespace scrivlet {

namespace {

bool isGroupFile(std::string_view bytes) {
  std::vector<DiskRawLine> lines = splitRawLines(bytes.substr(0, 256));
  for (const DiskRawLine& line : lines) {
    std::string text = trim(line.text);
    if (text.empty()) continue;
    return text.size() >= 7 && equalsNoCase(text.substr(0, 7), "VBGROUP");
  }
  return false;
}

DiskVBProject* alreadyOpen(const DiskVBE& vbe, const std::string& path) {
  for (const auto& project : vbe.projects()) {
    std::error_code ec;
    if (std::filesystem::equivalent(project->FileName(), path, ec))
      return project.get();
  }
  return nullptr;
}

std::unique_ptr<DiskVBE> openGroup(const std::string& path,
                                   std::string_view bytes, std::string& error) {
  auto vbe = std::make_unique<DiskVBE>();
  std::string folder = std::filesystem::path(path).parent_path().string();
  if (folder.empty()) folder.assign(1, '.');  // assign(".") trips a false -Wrestrict in GCC 12
  DiskVBProject* startup = nullptr;
  for (const DiskProjectFile::Entry& entry : DiskProjectFile(bytes).entries()) {
    bool isStartup = equalsNoCase(entry.key, "StartupProject");
    if (!isStartup && !equalsNoCase(entry.key, "Project")) continue;
    std::string projectPath =
        resolveWrittenPath(folder, unquoteProjectValue(entry.value));
    // A project named twice (a hand-edited group may list the startup
    // project again) is opened once: two copies of one file in memory would
    // each save over the other's changes.
    if (DiskVBProject* same = alreadyOpen(*vbe, projectPath)) {
      vbe->loadMessages.push_back("\"" + projectPath +
                                  "\" is named twice in the group; it is "
                                  "opened once");
      if (isStartup) startup = same;
      continue;
    }
    std::string projectError;
    auto project = DiskVBProject::open(projectPath, vbe->loadMessages, projectError);
    if (!project) {
      vbe->loadMessages.push_back(projectError);
      continue;
    }
    if (isStartup) startup = project.get();
    vbe->addProject(std::move(project));
  }
  if (vbe->projects().empty()) {
    error = "None of the projects of the group \"" + path + "\" could be opened";
    return nullptr;
  }
  if (startup) vbe->setActiveVBProject(startup);
  return vbe;
}

}  // namespace

void DiskVBE::setActiveVBProject(VBProject* project) { active_ = project; }

std::vector<VBProject*> DiskVBE::VBProjects() const {
  std::vector<VBProject*> result;
  result.reserve(projects_.size());
  for (const auto& p : projects_) result.push_back(p.get());
  return result;
}

void DiskVBE::addProject(std::unique_ptr<DiskVBProject> project) {
  if (!active_) active_ = project.get();
  projects_.push_back(std::move(project));
}

std::vector<std::string> DiskVBE::saveChanged() {
  std::vector<std::string> errors;
  for (const auto& p : projects_) p->saveChanged(errors, writeOutsideProjects);
  return errors;
}

std::unique_ptr<DiskVBE> openProjectOrGroup(const std::string& path,
                                            std::string& error) {
  std::string bytes;
  if (!readFileBytes(path, bytes, error)) return nullptr;
  if (isGroupFile(bytes)) return openGroup(path, bytes, error);
  auto vbe = std::make_unique<DiskVBE>();
  auto project = DiskVBProject::open(path, vbe->loadMessages, error);
  if (!project) return nullptr;
  vbe->addProject(std::move(project));
  return vbe;
}

}  // namespace scrivlet
