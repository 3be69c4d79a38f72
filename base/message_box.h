// A modal question to the user: a title, a text, a set of buttons, and the
// button the user chose. The desktop host shows a real box; the command line
// asks on the terminal or takes the cancelling answer; tests script it.
#ifndef SCRIVLET_BASE_MESSAGE_BOX_H_
#define SCRIVLET_BASE_MESSAGE_BOX_H_

#include <string>

namespace scrivlet {

// The button sets and answers keep the environment's numbers.
enum class MessageButtons {
  OK = 0,
  OKCancel = 1,
  AbortRetryIgnore = 2,
  YesNoCancel = 3,
  YesNo = 4,
  RetryCancel = 5,
};

enum class MessageIcon {
  None = 0,
  Critical = 16,
  Question = 32,
  Exclamation = 48,
  Information = 64,
};

enum class MessageAnswer {
  None = 0,  // the box was closed without an answer
  OK = 1,
  Cancel = 2,
  Abort = 3,
  Retry = 4,
  Ignore = 5,
  Yes = 6,
  No = 7,
};

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MessageAnswer show(const std::string& title, const std::string& text,
                             MessageButtons buttons, MessageIcon icon) = 0;
};

// The answer that gives up: Cancel where the box offers it, else Abort or
// No; OK for a box that only informs. Used when nobody can answer.
inline MessageAnswer cancellingAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OK:
      return MessageAnswer::OK;
    case MessageButtons::AbortRetryIgnore:
      return MessageAnswer::Abort;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_MESSAGE_BOX_H_
