// How a running compile reports what it does and learns that it must stop.
// The compile sees only this; a console, a log or the progress window
// implements the sink.
#ifndef SCRIVLET_BASE_PROGRESS_H_
#define SCRIVLET_BASE_PROGRESS_H_

#include <string>
#include <string_view>

namespace scrivlet {

// What a message is, by the prefix of its text: "ERROR..." an error,
// "WARNING..." and "Warning: " a warning, anything else a note (the project
// line, what after-compile commands print).
enum class MessageSeverity { note, warning, error };
MessageSeverity messageSeverity(std::string_view text);

// Where a message's cause is: a module file and the line of a comment or
// declaration, or a template file and its line. Empty when it has none.
struct MessagePlace {
  std::string file;
  long line = 0;
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // The status line: "Compiling: " + module [+ "." + member].
  virtual void showStatus(const std::string& text) = 0;
  // One line of the message log the user sees.
  virtual void addMessage(const std::string& text) = 0;
  // The same for a message with a place: `line` is what addMessage would
  // show ("modMath.bas:42: Warning: ..."), `text` the message alone, for a
  // sink that shows the parts apart.
  virtual void addPlacedMessage(const std::string& line, const MessagePlace&,
                                const std::string& /*text*/) {
    addMessage(line);
  }
  // Lets the user interface handle what is pending (a click on Cancel).
  virtual void processEvents() {}
};

// The add-in-wide state of reporting, one instance per add-in.
class Progress {
 public:
  explicit Progress(ProgressSink* sink = nullptr) : sink_(sink) {}

  void setSink(ProgressSink* sink) { sink_ = sink; }
  ProgressSink* sink() const { return sink_; }

  void ShowProgress(const std::string& module, const std::string& member);
  void addMessage(const std::string& text);
  // The one way compile code reports: an immediately repeated identical
  // "Warning: " line is shown once; every other line each time.
  void reportMessage(const std::string& text);
  // The same for a message whose cause has a place: the line shown starts
  // with it, as compilers write it ("modMath.bas:42: Warning: ..."), and the
  // message's own text follows unchanged.
  void reportMessage(const std::string& text, const MessagePlace& place);
  // Processes pending events, then answers whether the user asked to stop.
  bool abortCheck();

  bool abortRequested = false;
  // Files a write failed for and nobody answered the prompt of: lost output
  // that a run must not end as a success with.
  int failedWrites = 0;
  // The errors and warnings reported, as messageSeverity tells them.
  int errorCount = 0;
  int warningCount = 0;
  bool compileGroup = false;
  bool lastProjectOfGroup = false;
  std::string groupLog;
  std::string lastReportedMessage;
  // Every line passed to addMessage, each followed by CR LF, so that nothing
  // is lost while no window shows the log.
  std::string messageLog;

 private:
  ProgressSink* sink_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_PROGRESS_H_
