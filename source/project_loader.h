// Loading a project into the element model: which modules and members are
// documented under which settings, how each one's comment is found, and
// how help numbers are given out.
#ifndef SCRIVLET_SOURCE_PROJECT_LOADER_H_
#define SCRIVLET_SOURCE_PROJECT_LOADER_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/progress.h"
#include "base/project_settings.h"
#include "source/element_locator.h"
#include "source/store.h"

namespace scrivlet {

// The comment skeleton an uncommented element gets when it is admitted.
using SkeletonMaker = std::function<std::vector<std::string>(Element&)>;

class ProjectLoader {
 public:
  ProjectLoader(store& elements, const ProjectSettings& settings,
                Progress& progress, SkeletonMaker skeleton)
      : store_(elements),
        settings_(settings),
        progress_(progress),
        skeleton_(std::move(skeleton)) {}

  // The raw comment lines above a member's declaration; sets `hadComment`
  // when there are any, and gives out the element's help number.
  std::vector<std::string> getComment(Element& element);
  // Whether the element is documented; normalises its comment lines, or
  // gives an uncommented one its skeleton.
  bool admitElement(Element& element);
  // Loads `settings.selectedModules` into the store's collections. An abort
  // request leaves every collection empty. Enum and Type blocks come last,
  // after every other element of the project, and their help numbers
  // after every other help number: those are written into the code and
  // into help projects, and must not move because blocks are documented.
  void loadProject();

  // Whether Enum and Type blocks may be loaded at all, besides the
  // settings: a compile loads only what its template has pages for.
  bool documentEnums = true;
  bool documentTypes = true;

 private:
  // What loading one module gives: the elements it admits, in order, and
  // the help numbers it gives out, from `firstHelpID` on.
  struct ModuleLoad {
    long firstHelpID = 0;
    long helpIDs = 0;
    std::vector<std::shared_ptr<Element>> admitted;
    // The module's members, indexed when its first property needs them;
    // loading does not change the module's lines.
    std::unique_ptr<ElementLocator> locator;
    // The module's admitted Enum and Type blocks, numbered at the end.
    std::vector<std::shared_ptr<Element>> blocks;
  };
  // Loads the module and its members into `load`; false when an abort was
  // requested (asked before each member when `checkAbort`).
  bool loadWhole(CodeModule& module, ModuleLoad& load, bool checkAbort);
  // Adds a module's elements to the store, its help numbers following
  // those given out before it.
  void merge(ModuleLoad& load);
  void loadModule(CodeModule& module, ModuleLoad& load);
  void loadMember(CodeModule& module, const std::shared_ptr<Member>& member,
                  ModuleLoad& load);
  void loadProperty(CodeModule& module, const std::shared_ptr<Member>& member,
                    ModuleLoad& load);
  void loadClassVariable(const std::shared_ptr<Element>& variable,
                         ModuleLoad& load);
  void loadBlocks(CodeModule& module, ModuleLoad& load);
  // Numbers the blocks of every module and adds them to the store.
  void addBlocks();
  // The comment above the element's declaration; sets `hadComment`.
  std::vector<std::string> readCommentAbove(Element& element);
  void admitAndAdd(const std::shared_ptr<Element>& element, ModuleLoad& load);
  std::vector<std::string> commentAbove(Element& element, ModuleLoad& load);
  long nextHelpID(ModuleLoad& load);

  store& store_;
  const ProjectSettings& settings_;
  Progress& progress_;
  SkeletonMaker skeleton_;
  std::vector<std::shared_ptr<Element>> blocks_;
};

// The comment at the top of a module: the run of apostrophe lines under a
// first non-blank line that opens with "'**".
std::vector<std::string> getModuleComment(const CodeModule& module);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_PROJECT_LOADER_H_
