// "Options" (frmAddIn), the add-in's main dialog: what to document, the
// comment skeleton's tags, the template and output folder, the indent and
// source options; Apply, OK, Cancel, Compile and Compile Group. A view over
// OptionsModel.
#ifndef SCRIVLET_ADDIN_WINDOWS_OPTIONS_DIALOG_H_
#define SCRIVLET_ADDIN_WINDOWS_OPTIONS_DIALOG_H_

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "addin/options_model.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace scrivlet {

class FolderBrowseDialog;
class IndentExampleWindow;
class TextInputDialog;

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // The model must outlive the window.
  explicit OptionsDialog(OptionsModel& model, QWidget* parent = nullptr);
  ~OptionsDialog() override;

  OptionsModel& model() { return model_; }

  // Fills the dialog from the settings; called before every showing.
  void fillValues();

  // The dialogs this one opens run through `runModal` (tests answer them
  // without an event loop of their own).
  std::function<int(QDialog&)> runModal;
  // The file that "Import" reads; empty when the user cancelled.
  std::function<QString()> chooseImportFile;
  // The desktop's "open" action, for "Help".
  std::function<bool(const QString&)> open;

  FolderBrowseDialog& browseDialog() { return *browse_; }
  // `browseForFolder`: the folder the user chose in the browse dialog,
  // starting at `start`; empty when cancelled.
  QString browseForFolder(const QString& prompt, const QString& start);

 private:
  // One check box bound to a flag of the settings.
  struct Flag {
    QCheckBox* box;
    bool ProjectSettings::*field;
  };

  QWidget* compilePage();
  QWidget* commentPage();
  QWidget* outputPage();
  QWidget* miscellaneousPage();
  QCheckBox* flag(const char* key, const char* caption, const char* tooltip,
                  bool ProjectSettings::*field);
  void addButtons(QLayout* layout);

  void showValues();
  void showModules();
  void showUserTags();
  void showTemplates();
  void showEnabled();

  void editDefaultText(int tag);
  void importTags();
  void browseOutput();
  void browseTemplates();
  void showExample();
  void nextTab();
  int codePage() const { return model_.working().codePage; }

  OptionsModel& model_;
  QTabWidget* tabs_;
  std::vector<Flag> flags_;
  QLabel* projectLabel_;
  QListWidget* modules_;
  std::array<QCheckBox*, 5> userFlags_{};
  std::array<QLineEdit*, 5> userNames_{};
  QLineEdit* templateFolder_;
  QListWidget* templates_;
  QPlainTextEdit* description_;
  QLineEdit* outputPath_;
  QRadioButton* sourceAlways_;
  QRadioButton* sourceNever_;
  QRadioButton* sourceByTag_;
  QRadioButton* keepIndent_;
  QRadioButton* ignoreIndent_;
  QPlainTextEdit* titlePage_;
  QPushButton* help_;
  QPushButton* compile_;
  QPushButton* compileGroup_;
  QPushButton* apply_;
  QPushButton* cancel_;
  QPushButton* ok_;
  FolderBrowseDialog* browse_;
  TextInputDialog* textInput_;
  IndentExampleWindow* indentExample_;
  bool showing_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_OPTIONS_DIALOG_H_
