// What the "Options" dialog (frmAddIn) edits: a working copy of the active
// project's settings, written back to the add-in's record and to the
// settings file only when the user applies. The window is a view over this
// model; the tests drive it without one.
//
// The working copy is what the controls show: a check box reads and writes
// its field of `working()`, the tag-name boxes their `userName` entries, and
// so on. Nothing reaches `ProjectSettings` before apply().
#ifndef SCRIVLET_ADDIN_OPTIONS_MODEL_H_
#define SCRIVLET_ADDIN_OPTIONS_MODEL_H_

#include <functional>
#include <string>
#include <vector>

#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"

namespace scrivlet {

// The tag name a user tag box leaves behind: its text without surrounding
// spaces when that is letters A-Z, a-z and digits only, else "user" + the
// tag's number (1 to 5).
//   " Note " -> "Note"     "my tag" -> "user2" (tag 2)     "" -> "user1"
std::string validTagName(const std::string& text, int tagNumber);

// The files of `folder` whose names end in ".scvt" (letter case aside),
// sorted by name; none when the folder cannot be read.
std::vector<std::string> listTemplateFiles(const std::string& folder);

class OptionsModel {
 public:
  // One row of the module list.
  struct ModuleItem {
    std::string name;
    CodeModule* module;
    bool checked;
  };
  // The three choices of "Include source code in documentation".
  enum SourceOption { sourceNever = 0, sourceAlways = 1, sourceByTag = 2 };

  // `settings` is the add-in's record; the compile commands set
  // `compileGroup` in `services.progress`. All must outlive the model.
  OptionsModel(ProjectSettings& settings, VBE& vbe, FileServices& services,
               std::string addinFolder);

  // Copies the settings into the working copy and fills everything the
  // dialog shows from it; what was not applied before is lost.
  void fillValues();

  ProjectSettings& working() { return working_; }
  const ProjectSettings& working() const { return working_; }

  // "Calc Project:", or "No project opened !" without an active project.
  const std::string& projectLabel() const { return projectLabel_; }
  // Without an active project only "Help" and "Cancel" are usable.
  bool controlsEnabled() const { return controlsEnabled_; }
  // "Compile Group" needs two projects or more.
  bool compileGroupEnabled() const { return compileGroupEnabled_; }

  // The module list, in the project's component order.
  const std::vector<ModuleItem>& modules() const { return modules_; }
  void setModuleChecked(std::size_t index, bool checked);
  void selectAll();
  void deselectAll();

  // The user left tag-name box `tag` (0 to 4): its name is cleaned.
  void leaveTagName(int tag);
  // "Import": the user tags of the settings file at `path` replace the
  // working ones. An empty path (the file dialog cancelled) does nothing and
  // answers 0. Answers the settings reader's code; anything but 0 leaves
  // the working copy as it was.
  int importUserTags(const std::string& path);

  // The templates folder box: the text is the folder; leaving the box
  // re-reads the template list and empties the description.
  void setTemplateFolder(const std::string& folder);
  void leaveTemplateFolder();
  const std::vector<std::string>& templateFiles() const {
    return templateFiles_;
  }
  // The list entry of the working template, or -1.
  int selectedTemplate() const { return selectedTemplate_; }
  // Selecting entry `index` makes it the working template and shows its
  // description.
  void selectTemplate(int index);
  const std::string& templateDescription() const { return description_; }

  void setOutputPath(const std::string& folder) {
    working_.outputPath = folder;
  }
  // The answers of the folder browse dialog for the two "..." buttons; an
  // empty answer (cancelled) changes nothing.
  void outputFolderChosen(const std::string& folder);
  void templatesFolderChosen(const std::string& folder);

  // The indent option: 0 "Don't ignore indent", 1 "Ignore indent"; what
  // "Show Example" shows.
  int indentMode() const { return working_.indentMode == 1 ? 1 : 0; }
  void setIndentMode(int mode) { working_.indentMode = mode == 1 ? 1 : 0; }
  SourceOption sourceOption() const;
  void setSourceOption(SourceOption option) {
    working_.insertSourceGlobal = static_cast<std::int16_t>(option);
  }

  // "Apply", also the first step of "OK", "Compile" and "Compile Group":
  // the working copy becomes the settings, which are saved. Answers the
  // save's code (0 written).
  int apply();
  // "Compile" (`group` false) and "Compile Group": apply, then ask for the
  // compile that starts when the dialog has closed.
  void compile(bool group);
  // Set by compile(); the connection reads it when the dialog has closed.
  bool startCompile = false;

  // The user manual, which "Help" opens.
  std::string helpFile() const;
  // What templates' descriptions and the template list read, for tests.
  std::function<std::vector<std::string>(const std::string&)> listTemplates =
      listTemplateFiles;

 private:
  void fillModules();
  void refreshTemplates();
  std::string describe(const std::string& templatePath) const;

  ProjectSettings& settings_;
  VBE& vbe_;
  FileServices& services_;
  std::string addinFolder_;

  ProjectSettings working_;
  std::string projectLabel_;
  bool controlsEnabled_ = false;
  bool compileGroupEnabled_ = false;
  std::vector<ModuleItem> modules_;
  std::vector<std::string> templateFiles_;
  int selectedTemplate_ = -1;
  std::string description_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_OPTIONS_MODEL_H_
