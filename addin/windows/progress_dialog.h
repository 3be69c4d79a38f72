// The window a compile runs in (ProgressDlg): an animation while it runs,
// the current element in the status bar, the messages, and Cancel; then
// Close and Show Documentation. Activating the window runs the compile.
#ifndef SCRIVLET_ADDIN_WINDOWS_PROGRESS_DIALOG_H_
#define SCRIVLET_ADDIN_WINDOWS_PROGRESS_DIALOG_H_

#include <QDialog>

#include "addin/progress_model.h"

class QLabel;
class QMovie;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace scrivlet {

class ProgressDialog : public QDialog {
  Q_OBJECT

 public:
  // The model must outlive the window.
  explicit ProgressDialog(ProgressModel& model, QWidget* parent = nullptr);
  ~ProgressDialog() override;

  ProgressModel& model() { return model_; }
  // The code page of the messages' bytes (the project's).
  int codePage = 1252;

  // Only "Close", and a group compile that goes on with its next project,
  // close the window.
  void reject() override;

 signals:
  // The compile of this showing has ended (the window may have closed).
  void compileFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void activated();
  void showState();
  void showMessage(const std::string& text);

  ProgressModel& model_;
  QLabel* animation_;
  QMovie* movie_ = nullptr;
  QPlainTextEdit* messages_;
  QStatusBar* status_;
  QPushButton* close_;
  QPushButton* showDocumentation_;
  QPushButton* cancel_;
  bool closing_ = false;
  bool compiling_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_PROGRESS_DIALOG_H_
