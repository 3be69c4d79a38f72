#include "cli/console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cctype>
#include <istream>
#include <ostream>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "compiler/output_encoding.h"

namespace scrivlet {

namespace {

// A CR of the system's text would move the cursor back over the line.
std::string consoleLines(const std::string& text) {
  return replaceAll(replaceAll(text, "\r\n", "\n"), "\r", "\n");
}

bool hasSeverity(const std::string& text) {
  return startsWith(text, "ERROR") || startsWith(text, "WARNING") ||
         startsWith(text, "Warning: ");
}

constexpr char clearLine[] = "\r\x1b[K";

struct Choice {
  char key;
  const char* word;
  MessageAnswer answer;
};

std::vector<Choice> choicesOf(MessageButtons buttons) {
  const Choice ok{'o', "[o]k", MessageAnswer::OK},
      cancel{'c', "[c]ancel", MessageAnswer::Cancel},
      abort{'a', "[a]bort", MessageAnswer::Abort},
      retry{'r', "[r]etry", MessageAnswer::Retry},
      ignore{'i', "[i]gnore", MessageAnswer::Ignore},
      yes{'y', "[y]es", MessageAnswer::Yes}, no{'n', "[n]o", MessageAnswer::No};
  switch (buttons) {
    case MessageButtons::OK:
      return {ok};
    case MessageButtons::OKCancel:
      return {ok, cancel};
    case MessageButtons::AbortRetryIgnore:
      return {abort, retry, ignore};
    case MessageButtons::YesNoCancel:
      return {yes, no, cancel};
    case MessageButtons::YesNo:
      return {yes, no};
    case MessageButtons::RetryCancel:
      return {retry, cancel};
  }
  return {ok};
}

}  // namespace

ConsoleProgressSink::ConsoleProgressSink(std::ostream& out, bool liveStatus,
                                         bool quiet, std::size_t width)
    : out_(out), live_(liveStatus && !quiet), quiet_(quiet), width_(width) {}

ConsoleProgressSink::~ConsoleProgressSink() { finish(); }

void ConsoleProgressSink::showStatus(const std::string& text) {
  if (!live_) return;
  status_ = text;
  // A status wider than the terminal would wrap, and the next one could no
  // longer overwrite it.
  if (width_ > 1 && status_.size() >= width_) status_.resize(width_ - 1);
  out_ << clearLine << status_ << std::flush;
}

void ConsoleProgressSink::addMessage(const std::string& text) {
  addPlacedMessage(text, {}, text);
}

void ConsoleProgressSink::addPlacedMessage(const std::string& line,
                                           const MessagePlace& place,
                                           const std::string& text) {
  if (quiet_ && !hasSeverity(text)) return;
  if (!json_) {
    print(consoleLines(line));
    return;
  }
  nlohmann::ordered_json message;
  if (!place.file.empty()) message["file"] = toUtf8(place.file, 1252);
  if (place.line > 0) message["line"] = place.line;
  static const char* const severities[] = {"note", "warning", "error"};
  message["severity"] = severities[static_cast<int>(messageSeverity(text))];
  // Texts are the project's ANSI bytes (Windows-1252 where nothing says
  // otherwise); JSON wants UTF-8.
  message["text"] = toUtf8(replaceAll(text, "\r", "\n"), 1252);
  print(message.dump(-1, ' ', false,
                     nlohmann::ordered_json::error_handler_t::replace));
}

void ConsoleProgressSink::print(const std::string& line) {
  if (!status_.empty()) out_ << clearLine;
  out_ << line << '\n';
  if (!status_.empty()) out_ << status_;
  out_ << std::flush;
}

void ConsoleProgressSink::finish() {
  if (status_.empty()) return;
  out_ << clearLine << std::flush;
  status_.clear();
}

ConsoleMessageBox::ConsoleMessageBox(std::istream& in, std::ostream& err,
                                     bool interactive)
    : in_(in), err_(err), interactive_(interactive) {}

MessageAnswer ConsoleMessageBox::show(const std::string& title,
                                      const std::string& text,
                                      MessageButtons buttons, MessageIcon) {
  err_ << consoleLines(title) << ": " << consoleLines(text) << '\n'
       << std::flush;
  std::vector<Choice> choices = choicesOf(buttons);
  if (choices.size() == 1) return choices[0].answer;
  if (!interactive_) return MessageAnswer::None;
  std::string question;
  for (const Choice& choice : choices)
    question += (question.empty() ? "" : ", ") + std::string(choice.word);
  for (;;) {
    err_ << question << "? " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
      err_ << '\n';
      return MessageAnswer::None;
    }
    std::string word = trim(line);
    if (word.empty()) continue;
    char key =
        static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
    for (const Choice& choice : choices)
      if (choice.key == key) return choice.answer;
  }
}

bool isTerminal(int fd) { return ::isatty(fd) == 1; }

std::size_t terminalWidth(int fd) {
  struct winsize size {};
  if (::ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace scrivlet
