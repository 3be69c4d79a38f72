// Elements without a project behind them, for the tests and benchmarks of
// the compiler: a code module that knows only its name and members that
// know only theirs.
#ifndef SCRIVLET_COMPILER_FAKE_ELEMENTS_H_
#define SCRIVLET_COMPILER_FAKE_ELEMENTS_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/vbide.h"
#include "source/elements.h"
#include "source/store.h"

namespace scrivlet {
// An inline namespace of their own: the object-model fakes of the source
// tests have a FakeProject too, and two classes of one name in one test
// program would share a destructor, freeing memory of the wrong layout.
inline namespace compiler_fakes {

class NamedCodeModule : public CodeModule {
 public:
  explicit NamedCodeModule(std::string name) : name_(std::move(name)) {}
  std::string Name() const override { return name_; }
  VBComponent* Parent() const override { return nullptr; }
  std::string Lines(long, long) const override { return ""; }
  long CountOfLines() const override { return 0; }
  long CountOfDeclarationLines() const override { return 0; }
  std::string ProcOfLine(long, int& kind) const override {
    kind = 0;
    return "";
  }
  long ProcBodyLine(const std::string&, int) const override { return 1; }
  long ProcStartLine(const std::string&, int) const override { return 1; }
  long ProcCountLines(const std::string&, int) const override { return 0; }
  void InsertLines(long, const std::string&) override {}
  void DeleteLines(long, long) override {}
  std::vector<std::shared_ptr<Member>> Members() const override { return {}; }
  scrivlet::CodePane* CodePane() override { return nullptr; }

 private:
  std::string name_;
};

class NamedMember : public Member {
 public:
  NamedMember(std::string name, CodeModule* parent)
      : name_(std::move(name)), parent_(parent) {}
  std::string Name() const override { return name_; }
  int Type() const override { return 1; }
  int Scope() const override { return vbext_Public; }
  long CodeLocation() const override { return 1; }
  std::string Description() const override { return ""; }
  void setDescription(const std::string&) override {}
  long HelpContextID() const override { return 0; }
  void setHelpContextID(long) override {}
  scrivlet::CodeModule* Parent() const override { return parent_; }

 private:
  std::string name_;
  CodeModule* parent_;
};

// Owns the fake modules and members and adds elements for them to a store.
class FakeElementStore {
 public:
  explicit FakeElementStore(store& elements) : elements_(elements) {}

  std::shared_ptr<Element> addModule(const std::string& name,
                                     long helpID = 0) {
    modules_.push_back(std::make_unique<NamedCodeModule>(name));
    auto element = makeElement(ElementKind::Smodule);
    element->cmo = modules_.back().get();
    element->helpID = helpID;
    elements_.addElement(element);
    return element;
  }

  std::shared_ptr<Element> addMember(const std::shared_ptr<Element>& module,
                                     ElementKind kind, const std::string& name,
                                     long helpID = 0) {
    auto element = makeElement(kind);
    element->cmo = module->cmo;
    element->member = std::make_shared<NamedMember>(name, module->cmo);
    element->helpID = helpID;
    elements_.addElement(element);
    return element;
  }

 private:
  store& elements_;
  std::vector<std::unique_ptr<NamedCodeModule>> modules_;
};

}  // namespace compiler_fakes
}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_FAKE_ELEMENTS_H_
