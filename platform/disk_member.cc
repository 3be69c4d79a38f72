#include "platform/disk_member.h"

#include "platform/disk_code_module.h"
#include "platform/disk_module_parser.h"

namespace scrivlet {

std::string DiskMember::Description() const {
  return module_->memberDescription(*this);
}

void DiskMember::setDescription(const std::string& text) {
  module_->setMemberDescription(*this, text);
}

long DiskMember::HelpContextID() const {
  return module_->memberHelpContextID(*this);
}

void DiskMember::setHelpContextID(long id) {
  module_->setMemberHelpContextID(*this, id);
}

scrivlet::CodeModule* DiskMember::Parent() const { return module_; }

void DiskMember::update(const DiskMemberInfo& info) {
  name_ = info.name;
  type_ = info.type;
  scope_ = info.scope;
  codeLocation_ = info.codeLocation;
  isDeclare_ = info.isDeclare;
  carrierLines_ = info.carrierLines;
  attached_ = true;
}

void DiskMember::detach() {
  attached_ = false;
  carrierLines_.clear();
}

}  // namespace scrivlet
