// What the "Select reference" dialog edits: the target of one link in the
// comment being edited, a member or module of the project or a file. It
// starts from the link text the editor has and hands back the new one:
//   a module                          "Stats"
//   a member of the edited module     ".Refresh", ".Count'get"
//   a member of another module        "Stats.Count'get"
//   a file                            "\"sample.txt" or "\"/docs/sample.txt"
// An empty result means the user cancelled or chose nothing.
#ifndef SCRIVLET_ADDIN_REFERENCE_MODEL_H_
#define SCRIVLET_ADDIN_REFERENCE_MODEL_H_

#include <memory>
#include <string>
#include <vector>

#include "base/project_settings.h"
#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

inline constexpr char moduleItselfEntry[] = " [Module itself]";

class ReferenceModel {
 public:
  enum class Page { member, file };

  // Reads `selectedModules` and `outputPath`; the record must outlive the
  // model.
  explicit ReferenceModel(const ProjectSettings& settings);

  // The element whose comment is edited.
  std::shared_ptr<Element> wrapper;
  // On entry the current link text, after ok() or cancel() the result.
  std::string selected;

  // Member and file targets, "Project member" chosen.
  void initBoth();
  // File targets only (example files).
  void initFile();
  // Member targets only.
  void initMember();
  bool choiceVisible() const { return choiceVisible_; }
  Page page() const { return page_; }
  void choosePage(Page page) { page_ = page; }

  // Shows the target of `selected`: its module and member chosen, or its
  // file in the file name box.
  void showCurrentReference();

  // The "Module" combo: the selected modules, in order.
  std::vector<std::string> moduleNames() const;
  const std::string& moduleText() const { return moduleText_; }
  // Puts `name` into the combo and refills the member list; a name that is
  // not a selected module leaves the list empty.
  void selectModule(const std::string& name);
  // " [Module itself]", then the members in the module's order, a property
  // once per procedure it has: "Count [PropertyLet]", "Count [PropertyGet]".
  const std::vector<std::string>& memberEntries() const { return entries_; }
  int selectedMember() const { return selectedMember_; }
  void selectMember(int index);
  // Selects the entry equal to `entry` (exactly); false when there is none.
  bool selectMemberEntry(const std::string& entry);

  // The file page.
  std::string fileName;
  bool absolutePath = false;
  // "..." on the file page: where the file dialog starts, the name it
  // proposes, and the path chosen (empty when cancelled).
  const std::string& fileDialogFolder() const;
  std::string proposedFileName() const;
  void fileChosen(const std::string& path);

  // "OK": the link text for the chosen target, also left in `selected`.
  std::string ok();
  // "Cancel"
  void cancel() { selected.clear(); }

  // The member list of `module` without its first entry.
  static std::vector<std::string> memberEntriesOf(const CodeModule& module);
  // "'let" for " [PropertyLet]", "'set" for " [PropertySet]", "'get" for any
  // other bracket, "" for an entry without one.
  static std::string propertySuffix(const std::string& entry);

 private:
  std::string editedModuleName() const;
  std::string editedMemberName() const;

  const ProjectSettings& settings_;
  bool choiceVisible_ = true;
  Page page_ = Page::member;
  std::string moduleText_;
  std::vector<std::string> entries_;
  int selectedMember_ = -1;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_REFERENCE_MODEL_H_
