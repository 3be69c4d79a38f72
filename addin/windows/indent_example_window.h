// "Indentation example": what the two comment indent modes make of a
// sample comment.
#ifndef SCRIVLET_ADDIN_WINDOWS_INDENT_EXAMPLE_WINDOW_H_
#define SCRIVLET_ADDIN_WINDOWS_INDENT_EXAMPLE_WINDOW_H_

#include <QDialog>

class QLabel;

namespace scrivlet {

class IndentExampleWindow : public QDialog {
  Q_OBJECT

 public:
  explicit IndentExampleWindow(QWidget* parent = nullptr);

  // 1 ignores the indent, any other value keeps it; read when the window is
  // run.
  int indentMode = 0;

  int exec() override;
  // Fills the texts for indentMode without running the window.
  void showTexts();

 private:
  QLabel* outputFile_;
  QLabel* htmlLooks_;
  QLabel* rtfLooks_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_INDENT_EXAMPLE_WINDOW_H_
