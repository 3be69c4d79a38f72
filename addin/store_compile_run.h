// The compile that the progress window runs: a fresh store and macro store,
// the template of the settings loaded not silently, and the active project
// compiled through them. Only the model changes in the project (help
// numbers, descriptions); the host saves modules as the user says.
#ifndef SCRIVLET_ADDIN_STORE_COMPILE_RUN_H_
#define SCRIVLET_ADDIN_STORE_COMPILE_RUN_H_

#include <memory>
#include <string>

#include "addin/progress_model.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"
#include "compiler/exec_after.h"

namespace scrivlet {

class CompileDriver;
class MacroEngine;
class store;

class StoreCompileRun : public CompileRun {
 public:
  // Everything must outlive the run.
  StoreCompileRun(VBE& vbe, const ProjectSettings& settings,
                  FileServices& services, std::string addinFolder);
  ~StoreCompileRun() override;

  void compile(const MayRunCommands& mayRunCommands) override;
  std::string helpFile() override;

  // The HTML Help compiler of this machine (empty: none).
  std::string helpCompiler;
  // Starts the after-compile commands and waits for them (the platform's
  // process runner); without one they do not run and the log says so.
  using CommandRunner = decltype(ExecAfterServices::run);
  CommandRunner runCommand;

 private:
  VBE& vbe_;
  const ProjectSettings& settings_;
  FileServices& services_;
  std::string addinFolder_;
  std::unique_ptr<store> elements_;
  std::unique_ptr<MacroEngine> engine_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_STORE_COMPILE_RUN_H_
