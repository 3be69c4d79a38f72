// The projects and components of the desktop host: the disk host's, with
// code modules that a code window can show.
#ifndef SCRIVLET_DESKTOP_IDE_PROJECT_H_
#define SCRIVLET_DESKTOP_IDE_PROJECT_H_

#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"
#include "desktop/ide_code_module.h"
#include "platform/disk_vb_project.h"

namespace scrivlet {

class IdeVBComponent : public VBComponent {
 public:
  IdeVBComponent(DiskVBComponent& disk, int codePage);
  std::string Name() const override { return disk_.Name(); }
  int Type() const override { return disk_.Type(); }
  scrivlet::CodeModule* CodeModule() const override { return module_.get(); }
  std::string Description() const override { return disk_.Description(); }
  void setDescription(const std::string& text) override {
    disk_.setDescription(text);
  }
  long HelpContextID() const override { return disk_.HelpContextID(); }
  void setHelpContextID(long id) override { disk_.setHelpContextID(id); }
  std::string FileName() const override { return disk_.FileName(); }
  IdeCodeModule* ideCodeModule() const { return module_.get(); }

 private:
  DiskVBComponent& disk_;
  std::unique_ptr<IdeCodeModule> module_;
};

class IdeVBProject : public VBProject {
 public:
  explicit IdeVBProject(DiskVBProject& disk);
  std::string Name() const override { return disk_.Name(); }
  std::string FileName() const override { return disk_.FileName(); }
  std::vector<VBComponent*> VBComponents() const override;
  std::string HelpFile() const override { return disk_.HelpFile(); }
  void setHelpFile(const std::string& path) override { disk_.setHelpFile(path); }
  std::string Description() const override { return disk_.Description(); }
  long HelpContextID() const override { return disk_.HelpContextID(); }

  const std::vector<std::unique_ptr<IdeVBComponent>>& components() const {
    return components_;
  }
  int codePage() const { return codePage_; }
  // The project file or a module changed, typing included.
  bool changed() const;
  // Writes what changed; the messages of failed writes go to `errors`.
  void save(std::vector<std::string>& errors);
  DiskVBProject& disk() const { return disk_; }

 private:
  DiskVBProject& disk_;
  int codePage_;
  std::vector<std::unique_ptr<IdeVBComponent>> components_;
};

// The code page a project's settings file names ("codePage = 932"), 1252
// when it names none or cannot be read. The editor needs it before the
// add-in, which owns the settings, is even loaded.
int projectCodePage(const std::string& projectFile);

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_PROJECT_H_
