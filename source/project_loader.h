// Loading a project into the element model: which modules and members are
// documented under which settings, how each one's comment is found, and
// how help numbers are given out.
#ifndef SCRIVLET_SOURCE_PROJECT_LOADER_H_
#define SCRIVLET_SOURCE_PROJECT_LOADER_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addin/progress.h"
#include "addin/project_settings.h"
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
  // request leaves every collection empty.
  void loadProject();

 private:
  void loadModule(CodeModule& module);
  void loadMember(CodeModule& module, const std::shared_ptr<Member>& member);
  void loadProperty(CodeModule& module, const std::shared_ptr<Member>& member);
  void loadClassVariable(const std::shared_ptr<Element>& variable);
  void admitAndAdd(const std::shared_ptr<Element>& element);
  long nextHelpID();

  store& store_;
  const ProjectSettings& settings_;
  Progress& progress_;
  SkeletonMaker skeleton_;
  // The members of the module being loaded, indexed when its first property
  // needs them; loading does not change the module's lines.
  std::unique_ptr<ElementLocator> locator_;
};

// The comment at the top of a module: the run of apostrophe lines under a
// first non-blank line that opens with "'**".
std::vector<std::string> getModuleComment(const CodeModule& module);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_PROJECT_LOADER_H_
