// An in-memory object model for tests: a module is a list of lines with
// members declared by hand. Only what readers of code ask is answered;
// procedure ranges are given explicitly where a test needs them.
#ifndef SCRIVLET_SOURCE_FAKE_HOST_TEST_UTIL_H_
#define SCRIVLET_SOURCE_FAKE_HOST_TEST_UTIL_H_

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/vbide.h"

namespace scrivlet {

class FakeMember : public Member {
 public:
  FakeMember(std::string name, int type, int scope, long codeLocation,
             scrivlet::CodeModule* parent)
      : name_(std::move(name)),
        type_(type),
        scope_(scope),
        codeLocation_(codeLocation),
        parent_(parent) {}

  std::string Name() const override { return name_; }
  int Type() const override { return type_; }
  int Scope() const override { return scope_; }
  long CodeLocation() const override { return codeLocation_; }
  std::string Description() const override { return description_; }
  void setDescription(const std::string& text) override { description_ = text; }
  long HelpContextID() const override { return helpContextID_; }
  void setHelpContextID(long id) override { helpContextID_ = id; }
  scrivlet::CodeModule* Parent() const override { return parent_; }

 private:
  std::string name_;
  int type_;
  int scope_;
  long codeLocation_;
  scrivlet::CodeModule* parent_;
  std::string description_;
  long helpContextID_ = 0;
};

class FakeModule : public CodeModule {
 public:
  FakeModule(std::string name, std::vector<std::string> lines,
             long declarationLines = 0)
      : name_(std::move(name)),
        lines_(std::move(lines)),
        declarationLines_(declarationLines) {}

  // Adds a member whose declaration is on logical line `codeLocation`.
  std::shared_ptr<FakeMember> addMember(const std::string& name, int type,
                                        long codeLocation,
                                        int scope = vbext_Public) {
    auto member =
        std::make_shared<FakeMember>(name, type, scope, codeLocation, this);
    members_.push_back(member);
    return member;
  }
  // Declares the procedure `name` of `kind` on lines `start`..`end`, its
  // declaration on `body`.
  void addProc(const std::string& name, int kind, long start, long body,
               long end) {
    procs_[{name, kind}] = {start, body, end};
  }
  void setParent(VBComponent* component) { parent_ = component; }
  void setCodePane(scrivlet::CodePane* pane) { pane_ = pane; }

  std::string Name() const override { return name_; }
  VBComponent* Parent() const override { return parent_; }

  std::string Lines(long start, long count) const override {
    if (start < 1 || count < 0 || start + count - 1 > CountOfLines())
      throw HostError(9, "Subscript out of range");
    std::string text;
    for (long i = start; i < start + count; ++i) {
      if (i > start) text += "\r\n";
      text += lines_[static_cast<std::size_t>(i - 1)];
    }
    return text;
  }
  long CountOfLines() const override {
    return static_cast<long>(lines_.size());
  }
  long CountOfDeclarationLines() const override { return declarationLines_; }

  std::string ProcOfLine(long line, int& kind) const override {
    for (const auto& [key, range] : procs_) {
      if (line >= std::get<0>(range) && line <= std::get<2>(range)) {
        kind = key.second;
        return key.first;
      }
    }
    kind = vbext_pk_Proc;
    return "";
  }
  long ProcBodyLine(const std::string& name, int kind) const override {
    return std::get<1>(proc(name, kind));
  }
  long ProcStartLine(const std::string& name, int kind) const override {
    return std::get<0>(proc(name, kind));
  }
  long ProcCountLines(const std::string& name, int kind) const override {
    const auto& range = proc(name, kind);
    return std::get<2>(range) - std::get<0>(range) + 1;
  }

  void InsertLines(long line, const std::string& text) override {
    lines_.insert(lines_.begin() + (line - 1), text);
  }
  void DeleteLines(long start, long count) override {
    lines_.erase(lines_.begin() + (start - 1),
                 lines_.begin() + (start - 1 + count));
  }

  std::vector<std::shared_ptr<Member>> Members() const override {
    return {members_.begin(), members_.end()};
  }
  scrivlet::CodePane* CodePane() override { return pane_; }

 private:
  using Range = std::tuple<long, long, long>;  // start, body, end
  const Range& proc(const std::string& name, int kind) const {
    auto it = procs_.find({name, kind});
    if (it == procs_.end()) throw HostError(35, "Sub or Function not defined");
    return it->second;
  }

  std::string name_;
  std::vector<std::string> lines_;
  long declarationLines_;
  VBComponent* parent_ = nullptr;
  scrivlet::CodePane* pane_ = nullptr;
  std::vector<std::shared_ptr<FakeMember>> members_;
  std::map<std::pair<std::string, int>, Range> procs_;
};

class FakeComponent : public VBComponent {
 public:
  FakeComponent(int type, std::unique_ptr<FakeModule> module)
      : type_(type), module_(std::move(module)) {
    if (module_) module_->setParent(this);
  }

  std::string Name() const override { return module_ ? module_->Name() : ""; }
  int Type() const override { return type_; }
  scrivlet::CodeModule* CodeModule() const override { return module_.get(); }
  FakeModule* module() const { return module_.get(); }
  std::string Description() const override { return description_; }
  void setDescription(const std::string& text) override { description_ = text; }
  long HelpContextID() const override { return helpContextID_; }
  void setHelpContextID(long id) override { helpContextID_ = id; }

 private:
  int type_;
  std::unique_ptr<FakeModule> module_;
  std::string description_;
  long helpContextID_ = 0;
};

class FakeProject : public VBProject {
 public:
  FakeProject() = default;
  // A project saved under `fileName` ("" for one never saved).
  explicit FakeProject(std::string fileName) : fileName_(std::move(fileName)) {}

  // Adds a component holding a module made of `lines`, of which the first
  // `declarationLines` are its declarations section.
  FakeModule& addModule(int type, const std::string& name,
                        std::vector<std::string> lines,
                        long declarationLines = 0) {
    components_.push_back(std::make_unique<FakeComponent>(
        type, std::make_unique<FakeModule>(name, std::move(lines),
                                           declarationLines)));
    return *components_.back()->module();
  }
  void addComponentWithoutCode(int type) {
    components_.push_back(std::make_unique<FakeComponent>(type, nullptr));
  }

  std::string Name() const override { return "Project1"; }
  std::string FileName() const override { return fileName_; }
  std::vector<VBComponent*> VBComponents() const override {
    std::vector<VBComponent*> list;
    for (const auto& component : components_) list.push_back(component.get());
    return list;
  }
  std::string HelpFile() const override { return helpFile_; }
  void setHelpFile(const std::string& path) override { helpFile_ = path; }
  std::string Description() const override { return ""; }
  long HelpContextID() const override { return 0; }

 private:
  std::vector<std::unique_ptr<FakeComponent>> components_;
  std::string helpFile_;
  std::string fileName_ = "Project1.vbp";
};

class FakeVBE : public VBE {
 public:
  explicit FakeVBE(VBProject* project) : active_(project) {}
  VBProject* ActiveVBProject() const override { return active_; }
  void setActiveVBProject(VBProject* project) override { active_ = project; }
  std::vector<VBProject*> VBProjects() const override { return {active_}; }
  scrivlet::CodePane* ActiveCodePane() const override { return nullptr; }

 private:
  VBProject* active_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_FAKE_HOST_TEST_UTIL_H_
