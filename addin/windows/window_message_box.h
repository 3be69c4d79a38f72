// Message boxes as windows: the add-in's questions and errors (file errors,
// "Error while showing documentation") shown with QMessageBox.
#ifndef SCRIVLET_ADDIN_WINDOWS_WINDOW_MESSAGE_BOX_H_
#define SCRIVLET_ADDIN_WINDOWS_WINDOW_MESSAGE_BOX_H_

#include <QPointer>
#include <QWidget>

#include "base/message_box.h"

namespace scrivlet {

class WindowMessageBox : public MessageBox {
 public:
  // Boxes are modal over `parent` (over the active window when it is gone).
  explicit WindowMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon icon) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_WINDOW_MESSAGE_BOX_H_
