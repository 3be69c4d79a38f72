// The comment editor: one element's documentation comment, tag by tag, on
// six tabs, written back into the code by Apply (or OK). A view over
// CommentEditorModel; the small windows it opens (reference selection,
// interesting references, options) are views over models of their own.
#ifndef SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_H_
#define SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_H_

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "addin/reference_model.h"
#include "comments/comment_editor_model.h"
#include "comments/interest_links_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace scrivlet {

class LinkListBox;
class SettingsGrid;

// What the editor needs from around it.
struct EditCommentServices {
  // The IDE root object: "Find interesting references" reads its project.
  const VBE* ide = nullptr;
  // "Create" writes the example file through these (they ask on failure).
  FileServices* files = nullptr;
  // "Edit" tells its failure here.
  MessageBox* messages = nullptr;
  // The "Open" action for an example file; false when it failed.
  std::function<bool(const std::string&)> open;
  // Apply saves the project settings with this.
  std::function<void()> saveSettings;
};

class EditComment : public QDialog {
  Q_OBJECT

 public:
  // Shows the reference window over `model` (already set up) and returns
  // the chosen link, empty when cancelled.
  using ReferencePicker = std::function<std::string(ReferenceModel&)>;
  // Shows the interesting-references window over `model`; its result()
  // holds the choice afterwards.
  using InterestChooser = std::function<void(InterestLinksModel&)>;
  // Asks for a file to save: title, folder, proposed name, filter; the
  // path or empty.
  using SaveFileChooser =
      std::function<std::string(const std::string&, const std::string&,
                                const std::string&, const std::string&)>;

  // The model is opened on its element before; model and settings outlive
  // the window.
  EditComment(CommentEditorModel& model, ProjectSettings& settings,
              EditCommentServices services, QWidget* parent = nullptr);

  // The windows it opens, replaceable for tests.
  void setReferencePicker(ReferencePicker picker) {
    pickReference_ = std::move(picker);
  }
  void setInterestChooser(InterestChooser chooser) {
    chooseInteresting_ = std::move(chooser);
  }
  void setSaveFileChooser(SaveFileChooser chooser) {
    chooseSaveFile_ = std::move(chooser);
  }

  // "Apply": every box stored, the block written.
  bool apply();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildBasicTab();
  QWidget* buildParametersTab();
  QWidget* buildReferencesTab();
  QWidget* buildMiscTab();
  QWidget* buildUserTab();
  QWidget* buildSourceTab();
  QPlainTextEdit* textBox(CommentField field, const QString& name);
  QLineEdit* lineBox(CommentField field, const QString& name);
  void storeBoxes();
  void refreshFields();
  void refreshParameters();
  void refreshSourceView();
  std::string pick(const std::string& current, void (ReferenceModel::*init)());
  void findInterestingReferences();
  void createExample();
  void editExample();
  void showOptions();
  void nextTab();

  CommentEditorModel& model_;
  ProjectSettings& settings_;
  int codePage_;
  EditCommentServices services_;
  ReferencePicker pickReference_;
  InterestChooser chooseInteresting_;
  SaveFileChooser chooseSaveFile_;
  bool refreshing_ = false;

  QTabWidget* tabs_;
  QWidget* sourceTab_;
  std::vector<std::pair<CommentField, QWidget*>> boxes_;
  QListWidget* parameterList_;
  QPlainTextEdit* parameterDescriptionBox_;
  QLabel* settingsLabel_;
  SettingsGrid* settingsGrid_;
  QPushButton* addSettingButton_;
  QPushButton* removeSettingButton_;
  QCheckBox* updateOnStartupBox_;
  QWidget* parametersTab_;
  LinkListBox* seeAlsoBox_;
  LinkListBox* examplesBox_;
  QCheckBox* includeSourceBox_;
  std::vector<QLabel*> userLabels_;
  QPlainTextEdit* sourceView_;
  ChangeNotifier::Subscription followingFields_;
  ChangeNotifier::Subscription followingParameters_;
};

// The code window's "Comment Editor" command: with a selection in the
// active code pane it tells the user so; otherwise it opens the editor on
// the element under the caret, modally. False when the editor did not
// open.
bool showCommentEditor(VBE& ide, ProjectSettings& settings,
                       EditCommentServices services, QWidget* parent);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_H_
