// The windows of the add-in's main road: the Options dialog, and the
// progress window that runs the compile of the active project. The
// connection (addin/connect) decides when each is shown and runs the loop
// over the projects of a group.
#ifndef SCRIVLET_ADDIN_WINDOWS_COMPILE_WINDOWS_H_
#define SCRIVLET_ADDIN_WINDOWS_COMPILE_WINDOWS_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addin/options_model.h"
#include "addin/progress_model.h"
#include "addin/store_compile_run.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"

class QWidget;

namespace scrivlet {

class OptionsDialog;
class ProgressDialog;

class CompileWindows {
 public:
  // `settings` is the add-in's record of the active project; everything
  // must outlive the windows, which are made on first use.
  CompileWindows(ProjectSettings& settings, VBE& vbe, FileServices& services,
                 std::string addinFolder, QWidget* owner = nullptr);
  ~CompileWindows();

  // Fills the Options dialog and runs it modally: true when it asked for a
  // compile (of the group when the progress record's compileGroup is set).
  bool showOptions();
  // Hides the Options dialog, if it is shown.
  void Hide();
  // Runs the progress window modally: one compile of the active project.
  void showProgress();

  // Whether the user trusts a template to run commands; by default the
  // shipped ones and those the user trusted (scrivlet trust). The user is
  // asked about any other before its commands run.
  std::function<bool(const std::string&)> isTrusted;
  // The HTML Help compiler of this machine, for the templates.
  std::string helpCompiler;
  // Runs the templates' after-compile commands (the platform's runner).
  StoreCompileRun::CommandRunner runCommand;

  OptionsDialog& optionsDialog();
  ProgressDialog& progressDialog();

 private:

  ProjectSettings& settings_;
  VBE& vbe_;
  FileServices& services_;
  std::string addinFolder_;
  QWidget* owner_;
  std::unique_ptr<OptionsModel> optionsModel_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<ProgressModel> progressModel_;
  std::unique_ptr<ProgressDialog> progress_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_COMPILE_WINDOWS_H_
