#include "cli/compile_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "addin/settings_file.h"
#include "base/addin_folder.h"
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_file.h"
#include "cli/cli_support.h"
#include "cli/console.h"
#include "cli/trusted_templates.h"
#include "compiler/compile_driver.h"
#include "compiler/macro_engine.h"
#include "platform/disk_vbe.h"
#include "platform/process.h"

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

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// The template --template names: a file, or a shipped template by its name
// alone ("html" for Templates/html.scvt) when no such file is here.
std::string templateOption(const std::string& given,
                           const std::string& addinFolder) {
  std::error_code ec;
  if (given.find('/') != std::string::npos ||
      std::filesystem::exists(given, ec))
    return given;
  std::string shipped = addinFolder + "/Templates/" + given;
  if (!endsWith(given, ".scvt")) shipped += ".scvt";
  return std::filesystem::exists(shipped, ec) ? shipped : given;
}

// The settings of the active project with the options' overrides. With an
// output folder of its own the run leaves the settings' folder alone and
// creates its own.
void settingsForRun(VBE& vbe, FileServices& services,
                    const std::string& addinFolder,
                    const CompileOptions& options, ProjectSettings& settings) {
  SettingsFile file(vbe, services, addinFolder);
  if (options.outputFolder.empty()) {
    file.reloadProjectSettings(settings);
  } else {
    file.readSettingsOrDefaults(settings);
    settings.outputPath = absolutePath(options.outputFolder);
    std::error_code ec;
    std::filesystem::create_directories(settings.outputPath, ec);
  }
  if (!options.templateFile.empty()) {
    settings.templatePath =
        absolutePath(templateOption(options.templateFile, addinFolder));
    settings.templateFolder =
        std::filesystem::path(settings.templatePath).parent_path().string();
  }
}

// Whether the template's commands may run, as the user trusts it; with a
// warning saying how to allow them when not.
bool mayRunCommands(const CompileOptions& options,
                    const std::string& addinFolder,
                    const std::string& templatePath, Progress& progress) {
  if (options.allowCommands || !options.templateFile.empty() ||
      isShippedTemplate(addinFolder, templatePath))
    return true;
  const std::string list = options.trustedTemplates.empty()
                               ? trustedTemplatesFile()
                               : options.trustedTemplates;
  if (isTrustedTemplate(list, templatePath)) return true;
  progress.reportMessage(
      "WARNING: The after-compile commands of the template " + templatePath +
      " were not run: the project chose that template, and you have not "
      "allowed it to run commands. To allow it: scrivlet trust " +
      templatePath + " (or compile with --allow-commands)");
  return false;
}

// An output folder that the project's settings place inside the project
// but that is a link leading out of it: a project someone else wrote could
// point it at any folder of the user's.
bool outputFolderLeadsOut(const VBProject& project,
                          const std::string& outputFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = fs::absolute(fs::path(project.FileName()).parent_path(), ec)
                        .lexically_normal();
  fs::path output = fs::absolute(outputFolder, ec).lexically_normal();
  auto within = [](const fs::path& inner, const fs::path& outer) {
    auto [end, ignored] =
        std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return end == outer.end();
  };
  if (!within(output, folder)) return false;
  fs::path realFolder = fs::canonical(folder, ec);
  if (ec) return false;
  fs::path realOutput = fs::weakly_canonical(output, ec);
  return !ec && !within(realOutput, realFolder);
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

// The projects a compile covers: the active one, or for a group every
// project that has components, in the group's order.
std::vector<VBProject*> projectsToCompile(DiskVBE& vbe, bool group) {
  if (!group) return {vbe.ActiveVBProject()};
  std::vector<VBProject*> projects;
  for (VBProject* project : vbe.VBProjects())
    if (!project->VBComponents().empty()) projects.push_back(project);
  return projects;
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
  std::size_t filesWritten = 0;
  bool group = isGroupFile(options.project);
  progress.compileGroup = group;
  std::vector<VBProject*> projects = projectsToCompile(*vbe, group);
  // One for the whole run: the projects of a group may share a folder.
  OutputNames outputNames;
  int result = compileDone;
  for (std::size_t i = 0; i < projects.size(); ++i) {
    vbe->setActiveVBProject(projects[i]);
    progress.lastProjectOfGroup = i + 1 == projects.size();
    ProjectSettings settings;
    settingsForRun(*vbe, services, addinFolder, options, settings);
    if (options.outputFolder.empty() &&
        outputFolderLeadsOut(*projects[i], settings.outputPath)) {
      sink.finish();
      err << "scrivlet compile: the output folder " << settings.outputPath
          << " is a link that leads out of the project's folder; give "
             "--output to write there\n";
      return compileFailed;
    }
    if (!std::filesystem::is_directory(settings.outputPath)) {
      sink.finish();
      err << "scrivlet compile: the output folder " << settings.outputPath
          << (std::filesystem::exists(settings.outputPath)
                  ? " is a file, not a folder\n"
                  : " does not exist and cannot be created\n");
      return compileFailed;
    }

    progress.abortRequested = compileInterrupted != 0;
    auto elements = std::make_unique<store>();
    auto engine = std::make_unique<MacroEngine>(*elements, progress);
    engine->askFileError = [&services](const std::string& path,
                                       const std::string& operation,
                                       int number) {
      return askFileError(services, path, operation, number);
    };
    if (engine->loadSrc(settings.templatePath, false) != 0) {
      sink.finish();
      err << "scrivlet compile: cannot load the template "
          << settings.templatePath << '\n';
      return compileFailed;
    }
    auto driver = std::make_unique<CompileDriver>(*elements, *engine, settings,
                                                  services, addinFolder);
    driver->helpCompiler = findProgram("chmcmd");
    driver->execAfter.echoCommands = !options.quiet;
    driver->execAfter.run = runAndWait;
    driver->mayRunCommands = [&] {
      return mayRunCommands(options, addinFolder, settings.templatePath,
                            progress);
    };
    driver->outputNames = &outputNames;
    // An interrupt during the after-compile commands, after the last check,
    // counts as a stop too.
    if (!driver->compile(*vbe) || progress.abortRequested ||
        compileInterrupted) {
      sink.finish();
      progress.reportMessage("Compilation aborted by user");
      return compileFailed;
    }
    filesWritten += driver->filesWritten();
    if (options.programEndsAfter && i + 1 == projects.size()) {
      keepToTheEnd(std::move(driver));
      keepToTheEnd(std::move(engine));
      keepToTheEnd(std::move(elements));
    }
  }
  sink.finish();
  if (progress.failedWrites > 0 || progress.errorCount > 0 ||
      (options.werror && progress.warningCount > 0))
    result = compileFailed;
  for (const std::string& message : vbe->saveChanged()) {
    err << "scrivlet compile: " << message << '\n';
    result = compileFailed;
  }
  if (options.programEndsAfter) keepToTheEnd(std::move(vbe));
  // Not a compile message: the log of messages stays the same from run to
  // run, while this line holds the time.
  if (options.summary && !options.quiet && !options.json)
    out << summaryLine(filesWritten, progress,
                       std::chrono::steady_clock::now() - started)
        << std::flush;
  return result;
}

}  // namespace scrivlet
