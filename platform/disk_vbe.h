// The development environment over files on disk: one project, or the
// projects of a group, read from their files; changes are kept in memory
// until saveChanged() writes the files that changed.
#ifndef SCRIVLET_PLATFORM_DISK_VBE_H_
#define SCRIVLET_PLATFORM_DISK_VBE_H_

#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"
#include "platform/disk_vb_project.h"

namespace scrivlet {

class DiskVBE : public VBE {
 public:
  VBProject* ActiveVBProject() const override { return active_; }
  void setActiveVBProject(VBProject* project) override;
  std::vector<VBProject*> VBProjects() const override;
  scrivlet::CodePane* ActiveCodePane() const override { return activePane_; }
  void setActiveCodePane(scrivlet::CodePane* pane) { activePane_ = pane; }

  void addProject(std::unique_ptr<DiskVBProject> project);
  const std::vector<std::unique_ptr<DiskVBProject>>& projects() const {
    return projects_;
  }

  // Writes every project file and module that changed, and nothing else;
  // returns the messages of the writes that failed. Modules outside their
  // project's folder only with `writeOutsideProjects`.
  std::vector<std::string> saveChanged();
  bool writeOutsideProjects = false;

  // What went wrong while loading without stopping it: unreadable module
  // files, refused module names, projects of a group that could not be
  // opened. One line each, for the caller to show.
  std::vector<std::string> loadMessages;

 private:
  std::vector<std::unique_ptr<DiskVBProject>> projects_;
  VBProject* active_ = nullptr;
  scrivlet::CodePane* activePane_ = nullptr;
};

// Opens a project file (.vbp) or a group file (.vbg, told by its first line
// "VBGROUP 5.0"). The active project is the group's startup project (the
// first one that opened, if the startup project could not be). Returns none
// with `error` naming the file when it cannot be read, is a folder, is not
// a project or group file, or is a group none of whose projects opened.
std::unique_ptr<DiskVBE> openProjectOrGroup(const std::string& path,
                                            std::string& error);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_VBE_H_
