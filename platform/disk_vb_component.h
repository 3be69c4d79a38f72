// A component of a project read from disk: a module, class, form, designer,
// ... with its code module, or a resource file, related document or
// unreadable file without one.
#ifndef SCRIVLET_PLATFORM_DISK_VB_COMPONENT_H_
#define SCRIVLET_PLATFORM_DISK_VB_COMPONENT_H_

#include <memory>
#include <string>

#include "base/vbide.h"

namespace scrivlet {

class DiskCodeModule;

class DiskVBComponent : public VBComponent {
 public:
  DiskVBComponent(std::string name, int type, std::string filePath);
  ~DiskVBComponent() override;

  std::string Name() const override { return name_; }
  int Type() const override { return type_; }
  scrivlet::CodeModule* CodeModule() const override;
  std::string Description() const override;
  void setDescription(const std::string& text) override;
  long HelpContextID() const override;
  void setHelpContextID(long id) override;
  std::string FileName() const override { return filePath_; }

  // The file named in the project file, resolved; empty for none.
  const std::string& filePath() const { return filePath_; }
  DiskCodeModule* diskCodeModule() const { return module_; }
  // Gives the component its code module (owned).
  void setCodeModule(std::unique_ptr<DiskCodeModule> module);
  // Points the component at a code module that owns the component.
  void setCodeModuleOwner(DiskCodeModule* module) { module_ = module; }

 private:
  std::string name_;
  int type_;
  std::string filePath_;
  std::unique_ptr<DiskCodeModule> ownedModule_;
  DiskCodeModule* module_ = nullptr;
  // Without a code module there is no file to keep these in.
  std::string description_;
  long helpContextID_ = 0;
};

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_VB_COMPONENT_H_
