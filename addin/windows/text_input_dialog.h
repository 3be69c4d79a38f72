// "Enter default value of the tag": one line of text to edit. The caller
// sets userText, runs the dialog and reads userText back; Cancel leaves it
// as it was.
#ifndef SCRIVLET_ADDIN_WINDOWS_TEXT_INPUT_DIALOG_H_
#define SCRIVLET_ADDIN_WINDOWS_TEXT_INPUT_DIALOG_H_

#include <QDialog>
#include <QString>

class QLineEdit;

namespace scrivlet {

class TextInputDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TextInputDialog(QWidget* parent = nullptr);

  QString userText;

  // Shows userText in the box, as the dialog does when it loads.
  void load();
  // load(), then runs the dialog modally.
  int exec() override;

 private:
  QLineEdit* text_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_TEXT_INPUT_DIALOG_H_
