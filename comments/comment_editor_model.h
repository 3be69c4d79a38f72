// What the comment editor edits: one element's documentation comment, tag
// by tag, in separate fields, written back into the code as a new block.
// The dialog is a view over this model; the command line and the tests
// drive it without a window.
//
// Text fields hold text-box text: lines broken by CR LF. How comment values
// become that text and back depends on `autoInsertEOL`:
//   0: each comment line is one text line, "$EOL$" stays visible;
//   1: "$EOL$" is shown as a line break and every typed line break is
//      written as "$EOL$" at the end of its comment line; other line joins
//      read as one blank.
#ifndef SCRIVLET_COMMENTS_COMMENT_EDITOR_MODEL_H_
#define SCRIVLET_COMMENTS_COMMENT_EDITOR_MODEL_H_

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"
#include "comments/link_list_model.h"
#include "source/elements.h"

namespace scrivlet {

// Comment value -> text-box text. With autoInsertEOL 1:
//   "a$EOL$\rb\rc" -> "a\r\nb c"
std::string toDisplayText(const std::string& value, int autoInsertEOL);
// Text-box text -> comment lines; an empty text gives no line. With
// autoInsertEOL 1: "a\r\nb" -> {"a$EOL$", "b"}.
std::vector<std::string> toCommentLines(const std::string& text,
                                        int autoInsertEOL);

// "'**" and, for each line, CR LF, an apostrophe and the line: the block as
// the source code view shows it.
std::string CollectionToCommentString(const std::vector<std::string>& lines);

// The lines of an element's comment block, opener included, as they stand
// above its declaration (blank lines between block and declaration are not
// part of it). False when there is no block.
bool getCommentRange(const Element& element, long& start, long& end);
// The block at the top of a module: from its first non-blank line, when
// that opens with "'**", down the run of apostrophe lines.
bool getModuleCommentRange(const CodeModule& module, long& start, long& end);

struct EditorParam {
  std::string name;
  std::string description;  // text-box text
};

// One row of a parameter's settings table ("@set" line).
struct EditorSetting {
  std::string parameter;
  std::string constant;
  std::string value;
  std::string description;  // text-box text
};
using SettingsGroup = std::vector<EditorSetting>;

class CommentEditorModel {
 public:
  // The settings are read live and changed by the options; the record must
  // outlive the model.
  explicit CommentEditorModel(ProjectSettings& settings);

  // Opens on the element whose declaration holds `line` (a module element
  // when no member's does).
  void openAtLine(CodeModule& module, long line);
  // Opens on the element under the caret; false (no element) when the pane
  // has a selection or no code module.
  bool openAtCaret(CodePane& pane);
  // Reads the element's comment, or starts from its skeleton, and runs
  // Update when `autoUpdateParams` is 1.
  void openElement(std::shared_ptr<Element> element);
  const std::shared_ptr<Element>& element() const { return element_; }
  // "Calc - Scrivlet Comment Editor"
  std::string caption() const;
  // Only procedures have parameters (and a "Parameters" tab to edit them).
  bool parametersEnabled() const;

  // Fills the fields from comment lines (apostrophes removed).
  void fillFromComment(const std::vector<std::string>& lines);

  // The fields, as the text boxes and lists show them.
  std::string description;
  std::string remarks;
  std::string returnText;
  std::string author;
  std::string version;
  std::string revision;
  std::array<std::string, 5> user;
  std::string same;
  std::string includeSource;  // "yes" or empty
  LinkListModel seeAlso;
  LinkListModel examples;
  std::vector<EditorParam> params;
  std::array<SettingsGroup, 3> settingsGroups;
  bool hadComment = false;
  std::vector<std::string> skeleton;
  std::vector<std::string> workingLines;

  // Parameters tab. Selecting a parameter fills the description box and
  // the settings grid for it; -1 selects none.
  void selectParameter(int index);
  int selectedParameter() const { return selectedParam_; }
  // The description box; storing it changes the selected entry.
  const std::string& parameterDescription() const;
  void setParameterDescription(const std::string& text);
  // "Update on startup"
  bool updateOnStartup() const { return settings_.autoUpdateParams == 1; }
  void setUpdateOnStartup(bool on) { settings_.autoUpdateParams = on ? 1 : 0; }
  // "Update": parameters and return text brought in line with the
  // declaration; no parameter is selected afterwards unless there is one,
  // then the first.
  void update();

  // The settings grid of the selected parameter. It is enabled only while
  // a group is free or already holds that parameter's rows.
  bool gridEnabled() const;
  std::vector<EditorSetting> gridRows() const;
  void addGridRow();
  void removeGridRow(int row);
  // Column 0 constant, 1 value, 2 description.
  void setGridCell(int row, int column, const std::string& text);
  // The row the cell editor moves to with Down (+1) or Up (-1): never past
  // the last row, never into the header.
  int gridRowAfterMove(int row, int step) const;

  // "Find interesting references": the candidates the dialog lists, all
  // preselected ("IShape [implemented]", "Stats [used]", ...).
  std::vector<std::string> interestingReferenceCandidates(const VBE& ide) const;
  // Adds the chosen candidates to See Also, skipping a class that an entry
  // already begins with.
  void addInterestingReferences(const std::vector<std::string>& chosen);

  // "Create": the file name the save dialog proposes.
  std::string proposedExampleFileName() const;
  // Writes the new example file at `path` (a cancelled dialog gives "") and
  // adds its link; false, with the link box left alone, when nothing was
  // written.
  bool createExampleFile(const std::string& path, FileServices& services);
  // "Edit": the file the example link box names; a bare file name lies in
  // the output folder.
  std::string exampleFilePath() const;
  // Opens that file with `open`; on failure tells the user.
  bool editExample(const std::function<bool(const std::string&)>& open,
                   MessageBox& messages) const;

  // The working lines in their fixed order, wrapped when wrapping is on.
  const std::vector<std::string>& composeComment();
  // "Source code view"
  std::string sourceCodeView();
  // Replaces the element's comment block by the composed one, directly
  // above the declaration, then saves the settings with `saveSettings`
  // (the editor's options live there).
  // False when the code could not be changed (the element's declaration is
  // gone, for one); the fields stay as they are.
  bool apply(const std::function<void()>& saveSettings = nullptr);
  // "..." beside "Same documentation as": a chosen link; empty (cancelled)
  // keeps the old one.
  void pickSame(const std::string& link) {
    if (!link.empty()) same = link;
  }

 private:
  int displayMode() const { return settings_.autoInsertEOL == 1 ? 1 : 0; }
  std::string display(const std::string& value) const;
  void clearFields();
  int groupOfSelected() const;
  void writeGridBack(std::vector<EditorSetting> rows);
  void replaceBlock();

  ProjectSettings& settings_;
  std::shared_ptr<Element> element_;
  int selectedParam_ = -1;
  std::vector<EditorSetting> grid_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_EDITOR_MODEL_H_
