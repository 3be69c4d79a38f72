// For tests: a message box that nobody answers. It records every box it is
// asked to show and takes the cancelling answer, as the console does when
// no one is at a terminal.
#ifndef SCRIVLET_BASE_MESSAGE_BOX_TEST_UTIL_H_
#define SCRIVLET_BASE_MESSAGE_BOX_TEST_UTIL_H_

#include <string>

#include "base/message_box.h"

namespace scrivlet {

class CancellingBox : public MessageBox {
 public:
  std::string shown;
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon) override {
    shown += title + ": " + text + "\n";
    return cancellingAnswer(buttons);
  }
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_MESSAGE_BOX_TEST_UTIL_H_
