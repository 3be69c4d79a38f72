#include "addin/windows/window_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>
#include <vector>

#include "addin/windows/qt_text.h"

namespace scrivlet {

namespace {

using Choice = std::pair<QMessageBox::StandardButton, MessageAnswer>;

std::vector<Choice> choicesOf(MessageButtons buttons) {
  using B = QMessageBox;
  using A = MessageAnswer;
  switch (buttons) {
    case MessageButtons::OKCancel:
      return {{B::Ok, A::OK}, {B::Cancel, A::Cancel}};
    case MessageButtons::AbortRetryIgnore:
      return {
          {B::Abort, A::Abort}, {B::Retry, A::Retry}, {B::Ignore, A::Ignore}};
    case MessageButtons::YesNoCancel:
      return {{B::Yes, A::Yes}, {B::No, A::No}, {B::Cancel, A::Cancel}};
    case MessageButtons::YesNo:
      return {{B::Yes, A::Yes}, {B::No, A::No}};
    case MessageButtons::RetryCancel:
      return {{B::Retry, A::Retry}, {B::Cancel, A::Cancel}};
    default:
      return {{B::Ok, A::OK}};
  }
}

QMessageBox::Icon iconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

MessageAnswer WindowMessageBox::show(const std::string& title,
                                     const std::string& text,
                                     MessageButtons buttons, MessageIcon icon) {
  QWidget* parent = parent_ ? parent_.data() : QApplication::activeWindow();
  QMessageBox box(iconOf(icon), toQString(title),
                  toQString(text), QMessageBox::NoButton, parent);
  const std::vector<Choice> choices = choicesOf(buttons);
  for (const Choice& choice : choices) box.addButton(choice.first);
  box.setDefaultButton(choices.front().first);
  const int pressed = box.exec();
  for (const Choice& choice : choices)
    if (pressed == choice.first) return choice.second;
  return MessageAnswer::None;
}

}  // namespace scrivlet
