// One run of "Compile" or "Compile Group": the projects in turn, each with
// its settings, template and output folder, then the changes the compile
// made to the code saved. Both front ends run compiles through here; they
// hand in their services and say how a stop is shown.
#ifndef SCRIVLET_ADDIN_COMPILE_SESSION_H_
#define SCRIVLET_ADDIN_COMPILE_SESSION_H_

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/progress.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"
#include "compiler/exec_after.h"

namespace scrivlet {

class CompileDriver;
class OutputNames;
class MacroEngine;
class store;

// Why a run ended before its last project was compiled.
enum class CompileStop {
  none,
  // The settings place the output folder inside the project, but it is a
  // link that leads out of it.
  outputLeadsOut,
  outputIsAFile,
  outputMissing,  // does not exist and cannot be created
  templateUnreadable,
  aborted,  // the user's Cancel, or an interrupt from outside
};

// The model of a project's compile: what a program about to end may keep
// instead of freeing it.
struct CompiledModel {
  std::unique_ptr<store> elements;
  std::unique_ptr<MacroEngine> engine;
  std::unique_ptr<CompileDriver> driver;
  CompiledModel();
  CompiledModel(CompiledModel&&) noexcept;
  CompiledModel& operator=(CompiledModel&&) noexcept;
  ~CompiledModel();
};

class CompileSession {
 public:
  // `services.progress` carries the messages, the status and the Cancel.
  CompileSession(VBE& vbe, FileServices& services, std::string addinFolder);

  // Every project of the environment that has components, in its order,
  // with the group files; else the active project alone.
  bool group = false;
  // For this run only, instead of the project's settings: a template file,
  // or a shipped template by its name alone ("html"); an output folder,
  // created when missing. Neither is saved.
  std::string templateFile;
  std::string outputFolder;
  // The HTML Help compiler of this machine; empty: none.
  std::string helpCompiler;
  // Whether the after-compile log shows each command before its output.
  bool echoCommands = true;
  // Starts a program and waits for its end (the platform's runAndWait);
  // without one no after-compile command starts.
  decltype(ExecAfterServices::run) runProcess;
  // Asked once a template has after-compile commands: whether they may run
  // (see TemplateTrust). A front end that says no reports why itself.
  // Unset: they run.
  std::function<bool(const std::string& templatePath)> mayRunCommands;
  // A stop asked for outside the progress sink (an interrupt), checked with
  // the Cancel.
  std::function<bool()> interrupted;
  // Writes what the compile changed in the projects (help numbers,
  // descriptions, the help file); answers the messages of the writes that
  // failed. Called once, after every project compiled to its end.
  std::function<std::vector<std::string>()> saveChanged;
  // Keeps the last project's model for takeLastModel() instead of freeing
  // it with the run.
  bool keepLastModel = false;

  // Compiles every project of the run. On a stop nothing is saved; the
  // output written before it stays. `stopPath()` names the folder or the
  // template a stop is about.
  CompileStop run();

  const std::string& stopPath() const { return stopPath_; }
  std::size_t filesWritten() const { return filesWritten_; }
  // The failures of saveChanged.
  const std::vector<std::string>& saveFailures() const { return saveFailures_; }
  // Whether the run reported an error or lost output.
  bool failed() const;
  CompiledModel takeLastModel() { return std::move(lastModel_); }

 private:
  std::vector<VBProject*> projectsToCompile() const;
  void settingsForRun(ProjectSettings& settings);
  CompileStop checkOutputFolder(const VBProject& project,
                                const std::string& folder);
  CompileStop compileProject(const ProjectSettings& settings,
                             OutputNames& names, bool last);
  bool stopAsked() const { return interrupted && interrupted(); }

  VBE& vbe_;
  FileServices& services_;
  std::string addinFolder_;
  std::string stopPath_;
  std::size_t filesWritten_ = 0;
  std::vector<std::string> saveFailures_;
  CompiledModel lastModel_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_COMPILE_SESSION_H_
