// A member of a code module read from disk. The module updates its members
// in place whenever its text changes, so an element that holds one keeps
// seeing the current declaration. A member whose declaration was deleted
// stays valid but is no longer listed; it comes back to life when a
// declaration of the same name and kind reappears.
#ifndef SCRIVLET_PLATFORM_DISK_MEMBER_H_
#define SCRIVLET_PLATFORM_DISK_MEMBER_H_

#include <string>
#include <vector>

#include "base/vbide.h"

namespace scrivlet {

class DiskCodeModule;
struct DiskMemberInfo;

class DiskMember : public Member {
 public:
  explicit DiskMember(DiskCodeModule* module) : module_(module) {}

  std::string Name() const override { return name_; }
  int Type() const override { return type_; }
  int Scope() const override { return scope_; }
  long CodeLocation() const override { return codeLocation_; }
  std::string Description() const override;
  void setDescription(const std::string& text) override;
  long HelpContextID() const override;
  void setHelpContextID(long id) override;
  scrivlet::CodeModule* Parent() const override;

  void update(const DiskMemberInfo& info);
  void detach();
  bool attached() const { return attached_; }
  bool isDeclare() const { return isDeclare_; }
  const std::vector<long>& carrierLines() const { return carrierLines_; }

 private:
  DiskCodeModule* module_;
  std::string name_;
  int type_ = 0;
  int scope_ = 0;
  long codeLocation_ = 0;
  bool isDeclare_ = false;
  bool attached_ = false;
  std::vector<long> carrierLines_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_MEMBER_H_
