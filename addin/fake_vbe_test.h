// A project in memory for tests that need only names and kinds: components
// with or without a code module, one active project, a file name.
#ifndef SCRIVLET_ADDIN_FAKE_VBE_TEST_H_
#define SCRIVLET_ADDIN_FAKE_VBE_TEST_H_

#include <memory>
#include <string>
#include <vector>

#include "source/vbide.h"

namespace scrivlet::testing {

class FakeCodeModule : public CodeModule {
 public:
  FakeCodeModule(std::string name, VBComponent* parent)
      : name_(std::move(name)), parent_(parent) {}
  std::string Name() const override { return name_; }
  VBComponent* Parent() const override { return parent_; }
  std::string Lines(long, long) const override { return {}; }
  long CountOfLines() const override { return 0; }
  long CountOfDeclarationLines() const override { return 0; }
  std::string ProcOfLine(long, int& kind) const override {
    kind = 0;
    return {};
  }
  long ProcBodyLine(const std::string&, int) const override { return 0; }
  long ProcStartLine(const std::string&, int) const override { return 0; }
  long ProcCountLines(const std::string&, int) const override { return 0; }
  void InsertLines(long, const std::string&) override {}
  void DeleteLines(long, long) override {}
  std::vector<std::shared_ptr<Member>> Members() const override { return {}; }
  scrivlet::CodePane* CodePane() override { return nullptr; }

 private:
  std::string name_;
  VBComponent* parent_;
};

class FakeComponent : public VBComponent {
 public:
  FakeComponent(std::string name, int type, bool hasCode)
      : name_(std::move(name)), type_(type) {
    if (hasCode) module_ = std::make_unique<FakeCodeModule>(name_, this);
  }
  std::string Name() const override { return name_; }
  int Type() const override { return type_; }
  scrivlet::CodeModule* CodeModule() const override { return module_.get(); }
  std::string Description() const override { return {}; }
  void setDescription(const std::string&) override {}
  long HelpContextID() const override { return 0; }
  void setHelpContextID(long) override {}

 private:
  std::string name_;
  int type_;
  std::unique_ptr<FakeCodeModule> module_;
};

class FakeProject : public VBProject {
 public:
  explicit FakeProject(std::string fileName) : fileName_(std::move(fileName)) {}
  // Adds a component; resource files and related documents have no code.
  FakeComponent& add(const std::string& name, int type) {
    bool hasCode = type != vbext_ct_ResFile && type != vbext_ct_RelatedDocument;
    components_.push_back(std::make_unique<FakeComponent>(name, type, hasCode));
    return *components_.back();
  }
  std::string Name() const override { return "Calc"; }
  std::string FileName() const override { return fileName_; }
  std::vector<VBComponent*> VBComponents() const override {
    std::vector<VBComponent*> all;
    for (const auto& c : components_) all.push_back(c.get());
    return all;
  }
  std::string HelpFile() const override { return {}; }
  void setHelpFile(const std::string&) override {}
  std::string Description() const override { return {}; }
  long HelpContextID() const override { return 0; }

 private:
  std::string fileName_;
  std::vector<std::unique_ptr<FakeComponent>> components_;
};

class FakeVBE : public VBE {
 public:
  explicit FakeVBE(VBProject* active) : active_(active) {}
  VBProject* ActiveVBProject() const override { return active_; }
  void setActiveVBProject(VBProject* project) override { active_ = project; }
  std::vector<VBProject*> VBProjects() const override {
    return active_ ? std::vector<VBProject*>{active_}
                   : std::vector<VBProject*>{};
  }
  scrivlet::CodePane* ActiveCodePane() const override { return nullptr; }

 private:
  VBProject* active_;
};

}  // namespace scrivlet::testing

#endif  // SCRIVLET_ADDIN_FAKE_VBE_TEST_H_
