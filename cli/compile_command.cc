#include "cli/compile_command.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "addin/compile_session.h"
#include "addin/trusted_templates.h"
#include "base/addin_folder.h"
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_file.h"
#include "cli/cli_support.h"
#include "cli/console.h"
#include "compiler/compile_driver.h"
#include "compiler/macro_engine.h"
#include "platform/disk_vbe.h"
#include "platform/process.h"
#include "source/store.h"

namespace scrivlet {

volatile std::sig_atomic_t compileInterrupted = 0;

namespace {

extern "C" void onInterrupt(int) { compileInterrupted = 1; }

// Keeps `object` to the end of the program without ever destroying it: a
// large model takes a tenth of its compile to free element by element,
// which a program about to end need not do. Held through a pointer that
// stays reachable, it is no leak to a leak checker.
template <class T>
void keepToTheEnd(std::unique_ptr<T> object) {
  static auto* kept = new std::vector<void*>;
  kept->push_back(object.release());
}

// The console status and messages, and Ctrl+C as the Cancel button: the
// abort check processes events, and the only event here is the interrupt.
class InterruptibleSink : public ConsoleProgressSink {
 public:
  InterruptibleSink(std::ostream& out, const CompileOptions& options)
      : ConsoleProgressSink(out,
                            options.liveStatus && !options.quiet &&
                                !options.json,
                            options.quiet, options.width) {
    setJson(options.json);
  }
  void attach(Progress* progress) { progress_ = progress; }
  void processEvents() override {
    if (compileInterrupted && progress_) progress_->abortRequested = true;
  }

 private:
  Progress* progress_ = nullptr;
};

// Whether the template's commands may run, as the user trusts it; with a
// warning saying how to allow them when not.
bool mayRunCommands(const CompileOptions& options,
                    const std::string& addinFolder,
                    const std::string& templatePath, Progress& progress) {
  TemplateTrust trust{addinFolder, options.trustedTemplates,
                      options.allowCommands, !options.templateFile.empty()};
  if (trust.mayRunCommands(templatePath)) return true;
  progress.reportMessage(
      "WARNING: The after-compile commands of the template " + templatePath +
      " were not run: the project chose that template, and you have not "
      "allowed it to run commands. To allow it: scrivlet trust " +
      templatePath + " (or compile with --allow-commands)");
  return false;
}

// Why the run stopped, for the error output; empty when the stop is the
// user's and shows as a message of the compile.
std::string stopReason(CompileStop stop, const std::string& path) {
  switch (stop) {
    case CompileStop::outputLeadsOut:
      return "the output folder " + path +
             " is a link that leads out of the project's folder; give "
             "--output to write there";
    case CompileStop::outputIsAFile:
      return "the output folder " + path + " is a file, not a folder";
    case CompileStop::outputMissing:
      return "the output folder " + path +
             " does not exist and cannot be created";
    case CompileStop::templateUnreadable:
      return "cannot load the template " + path;
    case CompileStop::none:
    case CompileStop::aborted:
      break;
  }
  return {};
}

// "Done: 56 files written, 2 warnings, 0 errors in 0.41 s".
std::string summaryLine(std::size_t files, const Progress& progress,
                        std::chrono::steady_clock::duration time) {
  auto count = [](std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f",
                std::chrono::duration<double>(time).count());
  return std::string(progress.errorCount > 0 ? "Failed: " : "Done: ") +
         count(files, "file") + " written, " +
         count(static_cast<std::size_t>(progress.warningCount), "warning") +
         ", " + count(static_cast<std::size_t>(progress.errorCount), "error") +
         " in " + seconds + " s\n";
}

}  // namespace

void installInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  // A second Ctrl+C ends the program at once, for a compile stuck where it
  // never checks (an after-compile command that waits for input).
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

int runCompileCommand(const CompileOptions& options, std::ostream& out,
                      std::ostream& err) {
  std::string error;
  std::unique_ptr<DiskVBE> vbe = openProjectOrGroup(options.project, error);
  if (!vbe) {
    err << "scrivlet compile: " << error << '\n';
    return compileFailed;
  }
  InterruptibleSink sink(out, options);
  Progress progress(&sink);
  sink.attach(&progress);
  vbe->writeOutsideProjects =
      options.writeOutsideProject || writeOutsideProjectPreferred();
  // Warnings about the project (a module left out) are the compile's
  // messages, with its other warnings; what could not be read is an error.
  for (const std::string& message : vbe->loadMessages) {
    if (startsWith(message, "WARNING: "))
      progress.reportMessage(message);
    else
      err << "scrivlet compile: " << message << '\n';
  }
  DiskFileSystem files;
  ConsoleMessageBox box(std::cin, err, isTerminal(0));
  FileServices services{files, box, progress};
  std::string addinFolder = findAddinFolder();

  const auto started = std::chrono::steady_clock::now();
  CompileSession session(*vbe, services, addinFolder);
  session.group = isGroupFile(options.project);
  session.templateFile = options.templateFile;
  session.outputFolder = options.outputFolder;
  session.helpCompiler = findProgram("chmcmd");
  session.echoCommands = !options.quiet;
  session.runProcess = runAndWait;
  session.mayRunCommands = [&](const std::string& templatePath) {
    return mayRunCommands(options, addinFolder, templatePath, progress);
  };
  session.interrupted = [] { return compileInterrupted != 0; };
  session.saveChanged = [&vbe] { return vbe->saveChanged(); };
  session.keepLastModel = options.programEndsAfter;
  const CompileStop stop = session.run();
  sink.finish();
  if (stop == CompileStop::aborted) {
    progress.reportMessage("Compilation aborted by user");
    return compileFailed;
  }
  if (stop != CompileStop::none) {
    err << "scrivlet compile: " << stopReason(stop, session.stopPath())
        << '\n';
    return compileFailed;
  }
  int result = compileDone;
  if (session.failed() || (options.werror && progress.warningCount > 0))
    result = compileFailed;
  for (const std::string& message : session.saveFailures()) {
    err << "scrivlet compile: " << message << '\n';
    result = compileFailed;
  }
  if (options.programEndsAfter) {
    CompiledModel model = session.takeLastModel();
    keepToTheEnd(std::move(model.driver));
    keepToTheEnd(std::move(model.engine));
    keepToTheEnd(std::move(model.elements));
    keepToTheEnd(std::move(vbe));
  }
  // Not a compile message: the log of messages stays the same from run to
  // run, while this line holds the time.
  if (options.summary && !options.quiet && !options.json)
    out << summaryLine(session.filesWritten(), progress,
                       std::chrono::steady_clock::now() - started)
        << std::flush;
  return result;
}

}  // namespace scrivlet
