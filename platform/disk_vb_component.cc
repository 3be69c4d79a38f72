#include "platform/disk_vb_component.h"

#include <cstdlib>

#include "platform/disk_code_module.h"
#include "platform/disk_module_text.h"

namespace scrivlet {

DiskVBComponent::DiskVBComponent(std::string name, int type,
                                 std::string filePath)
    : name_(std::move(name)), type_(type), filePath_(std::move(filePath)) {}

DiskVBComponent::~DiskVBComponent() = default;

scrivlet::CodeModule* DiskVBComponent::CodeModule() const { return module_; }

void DiskVBComponent::setCodeModule(std::unique_ptr<DiskCodeModule> module) {
  ownedModule_ = std::move(module);
  module_ = ownedModule_.get();
}

std::string DiskVBComponent::Description() const {
  if (!module_) return description_;
  return unquoteAttribute(module_->moduleAttribute("VB_Description"));
}

void DiskVBComponent::setDescription(const std::string& text) {
  if (!module_) {
    description_ = text;
    return;
  }
  module_->setModuleAttribute("VB_Description",
                              text.empty() ? std::string() : quoteAttribute(text));
}

long DiskVBComponent::HelpContextID() const {
  if (!module_) return helpContextID_;
  return std::strtol(module_->moduleAttribute("VB_HelpID").c_str(), nullptr, 10);
}

void DiskVBComponent::setHelpContextID(long id) {
  if (!module_) {
    helpContextID_ = id;
    return;
  }
  module_->setModuleAttribute("VB_HelpID",
                              id == 0 ? std::string() : std::to_string(id));
}

}  // namespace scrivlet
