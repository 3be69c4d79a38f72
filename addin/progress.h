// How a running compile reports what it does and learns that it must stop.
// The compile sees only this; a console, a log or the progress window
// implements the sink.
#ifndef SCRIVLET_ADDIN_PROGRESS_H_
#define SCRIVLET_ADDIN_PROGRESS_H_

#include <string>
#include <string_view>

namespace scrivlet {

// What a message is, by the prefix of its text: "ERROR..." an error,
// "WARNING..." and "Warning: " a warning, anything else a note (the project
// line, what after-compile commands print).
enum class MessageSeverity { note, warning, error };
MessageSeverity messageSeverity(std::string_view text);

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // The status line: "Compiling: " + module [+ "." + member].
  virtual void showStatus(const std::string& text) = 0;
  // One line of the message log the user sees.
  virtual void addMessage(const std::string& text) = 0;
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

#endif  // SCRIVLET_ADDIN_PROGRESS_H_
