// The console stand-ins for the progress window and for message boxes, used
// by the scrivlet program.
#ifndef SCRIVLET_CLI_CONSOLE_H_
#define SCRIVLET_CLI_CONSOLE_H_

#include <cstddef>
#include <iosfwd>
#include <string>

#include "base/message_box.h"
#include "base/progress.h"

namespace scrivlet {

// Messages go out one per line. On a terminal the status is one line
// rewritten in place and cleared before each message; into a pipe or file
// it is left out, since a log has no use for it.
class ConsoleProgressSink : public ProgressSink {
 public:
  // `liveStatus`: draw the status line (a terminal of `width` columns, 0 when
  // unknown). `quiet`: print only messages that carry a severity ("ERROR",
  // "WARNING", "Warning: ") and no status.
  ConsoleProgressSink(std::ostream& out, bool liveStatus, bool quiet,
                      std::size_t width = 0);
  // Messages as JSON, one object a line, for editors and CI:
  // {"file":"modMath.bas","line":42,"severity":"warning","text":"..."}
  // ("file" and "line" only where the message has a place).
  void setJson(bool json) { json_ = json; }
  ~ConsoleProgressSink() override;

  void showStatus(const std::string& text) override;
  void addMessage(const std::string& text) override;
  void addPlacedMessage(const std::string& line, const MessagePlace& place,
                        const std::string& text) override;
  // Removes the status line, leaving the cursor at the start of a line.
  void finish();

 private:
  std::ostream& out_;
  bool live_;
  bool quiet_;
  bool json_ = false;
  void print(const std::string& line);
  std::size_t width_;
  std::string status_;
};

// Prints the box's title and text to the error stream. With someone at the
// terminal it asks for one of the buttons; with nobody to answer (input is
// not a terminal, or ends) the box counts as closed without an answer
// (MessageAnswer::None): a prompt to retry never repeats without end, and a
// failed file is reported and skipped rather than taken for the user's
// Cancel, which would stop a compile as "aborted by user".
class ConsoleMessageBox : public MessageBox {
 public:
  ConsoleMessageBox(std::istream& in, std::ostream& err, bool interactive);

  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon icon) override;

 private:
  std::istream& in_;
  std::ostream& err_;
  bool interactive_;
};

// Whether file descriptor `fd` is a terminal, and its width in columns (0
// when unknown).
bool isTerminal(int fd);
std::size_t terminalWidth(int fd);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_CONSOLE_H_
