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

#include "base/change_notifier.h"
#include "base/message_box.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"
#include "comments/link_list_model.h"
#include "comments/parameter_list_model.h"
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

// The code window's "Comment Editor" command works on the element under
// the caret: with text selected it tells the user so and refuses (false).
bool commentEditorMayOpen(const CodePane* pane, MessageBox& messages);

// The editor's plain text fields, one per text box.
enum class CommentField {
  description,
  remarks,
  returnText,
  author,
  version,
  revision,
  user1,
  user2,
  user3,
  user4,
  user5,
  same,
};
inline constexpr int commentFieldCount = 12;
CommentField userField(int n);  // 0..4 -> user1..user5

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
  // Whether the code holds a block of this element's: it did when the
  // editor opened, or an Apply wrote one.
  bool hadComment() const { return hadComment_; }
  const std::vector<std::string>& skeleton() const { return skeleton_; }

  // Fills the fields from comment lines (apostrophes removed).
  void fillFromComment(const std::vector<std::string>& lines);

  // The text boxes, as they show their text.
  const std::string& text(CommentField field) const;
  // A text box left: stores its text.
  void setText(CommentField field, const std::string& text);
  // The label of a user-defined field, its tag's name ("user1", "note").
  const std::string& userFieldLabel(int n) const;
  // "Include source code"
  bool includeSource() const { return includeSource_; }
  void setIncludeSource(bool on);

  // The tabs with lists of their own.
  ParameterListModel& parameters() { return parameters_; }
  const ParameterListModel& parameters() const { return parameters_; }
  LinkListModel& seeAlso() { return seeAlso_; }
  const LinkListModel& seeAlso() const { return seeAlso_; }
  LinkListModel& examples() { return examples_; }
  const LinkListModel& examples() const { return examples_; }

  // "Update on startup": shown at once, written into the settings by Apply
  // only, so that Cancel leaves the project's choice as it was.
  bool updateOnStartup() const { return updateOnStartup_; }
  void setUpdateOnStartup(bool on);
  // "Update": parameters and return text brought in line with the
  // declaration; the first parameter, if any, is selected afterwards.
  void update();

  // "Find interesting references": the candidates the dialog lists
  // ("IShape [implemented]", "Stats [used]", ...).
  std::vector<std::string> interestingReferenceCandidates(const VBE& ide) const;
  // Adds the chosen candidates to See Also, skipping a class that an entry
  // already begins with.
  void addInterestingReferences(const std::vector<std::string>& chosen);

  // "Create": the file name the save dialog proposes and the folder it
  // starts in.
  std::string proposedExampleFileName() const;
  const std::string& exampleFolder() const { return settings_.outputPath; }
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
  // "..." beside "Same documentation as": a chosen link; empty (cancelled)
  // keeps the old one.
  void pickSame(const std::string& link);

  // The working lines in their fixed order, wrapped when wrapping is on.
  const std::vector<std::string>& composeComment();
  const std::vector<std::string>& workingLines() const { return workingLines_; }
  // "Source code view"
  std::string sourceCodeView();
  // Replaces the element's comment block by the composed one, directly
  // above the declaration, records "Update on startup" in the settings and
  // saves them with `saveSettings` (the editor's options live there).
  // False when the code could not be changed (the element's declaration is
  // gone, for one); the fields stay as they are.
  bool apply(const std::function<void()>& saveSettings = nullptr);

  // The fields, tags and texts (element, open/fill, Update, Apply).
  ChangeNotifier& changes() { return changes_; }

 private:
  int displayMode() const { return settings_.autoInsertEOL == 1 ? 1 : 0; }
  std::string display(const std::string& value) const;
  void clearFields();
  void replaceBlock();

  ProjectSettings& settings_;
  std::shared_ptr<Element> element_;
  std::array<std::string, commentFieldCount> texts_;
  bool includeSource_ = false;
  bool hadComment_ = false;
  bool updateOnStartup_ = false;
  std::vector<std::string> skeleton_;
  std::vector<std::string> workingLines_;
  ParameterListModel parameters_;
  LinkListModel seeAlso_;
  LinkListModel examples_;
  ChangeNotifier changes_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_EDITOR_MODEL_H_
