// A project read from its project file (.vbp) and the module files it
// names. Components keep the file's order. A component whose file cannot be
// read, or whose module name could not safely become a file name, stays in
// the project without a code module, and a message says why.
#ifndef SCRIVLET_PLATFORM_DISK_VB_PROJECT_H_
#define SCRIVLET_PLATFORM_DISK_VB_PROJECT_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/vbide.h"
#include "platform/disk_project_file.h"
#include "platform/disk_vb_component.h"

namespace scrivlet {

class DiskVBProject : public VBProject {
 public:
  // Reads the project file `path` and its modules. Returns none, with
  // `error` set, when the project file itself cannot be read or is not one;
  // problems with single components go to `messages` and loading goes on.
  static std::unique_ptr<DiskVBProject> open(const std::string& path,
                                             std::vector<std::string>& messages,
                                             std::string& error);
  DiskVBProject(std::string path, DiskProjectFile file);
  ~DiskVBProject() override;

  std::string Name() const override { return name_; }
  std::string FileName() const override { return path_; }
  std::vector<VBComponent*> VBComponents() const override;
  std::string HelpFile() const override;
  void setHelpFile(const std::string& path) override;
  std::string Description() const override;
  void setDescription(const std::string& text);
  long HelpContextID() const override;
  void setHelpContextID(long id);

  const std::vector<std::unique_ptr<DiskVBComponent>>& components() const {
    return components_;
  }
  // The component named `name` (any case), none when absent.
  DiskVBComponent* component(const std::string& name) const;

  // True when the project file or one of the modules changed.
  bool changed() const;
  // Writes the project file and every module that changed; the messages of
  // the writes that failed are added to `errors`. A module file outside the
  // project's folder (a path with "..", an absolute path, a link leading out)
  // is written only with `outsideAllowed`: a project someone else wrote may
  // name any file as its module, while real code bases do share modules
  // between projects, so the user decides.
  void saveChanged(std::vector<std::string>& errors, bool outsideAllowed);
  // Whether `file` lies inside the project's folder once links are resolved.
  bool inFolder(const std::string& file) const;

 private:
  struct PlannedComponent;
  void loadComponents(std::vector<std::string>& messages);
  PlannedComponent plan(const std::string& key, const std::string& value) const;
  void readModules(std::vector<PlannedComponent>& planned);
  void addComponent(PlannedComponent& planned,
                    std::vector<std::string>& messages);
  // False, with a warning, when a module of the same name (letter case
  // aside) was added before: the project keeps the first.
  bool firstOfItsName(const std::string& name, const std::string& path,
                      std::vector<std::string>& messages);

  std::string path_;
  std::string folder_;
  std::string name_;
  DiskProjectFile file_;
  std::vector<std::unique_ptr<DiskVBComponent>> components_;
  // While loading: folded module name -> the file it came from.
  std::unordered_map<std::string, std::string> moduleFiles_;
};

// A letter, then letters, digits and "_": the names that may become file
// names ("../x" must never reach the file system).
bool isValidModuleName(std::string_view name);
// The name a project without a Name line takes from its file: every
// character but letters, digits and "_" becomes "_". "my calc" -> "my_calc".
std::string projectNameFromFile(std::string_view stem);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_VB_PROJECT_H_
