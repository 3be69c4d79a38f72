// The add-in's main road as the connection drives it: the Options dialog,
// then the compile of the active project, or of every project of the group,
// each in a progress window. The connection calls Show() for its "Scrivlet"
// command and Hide() when it lets go of the dialogs.
#ifndef SCRIVLET_ADDIN_WINDOWS_ADDIN_WINDOWS_H_
#define SCRIVLET_ADDIN_WINDOWS_ADDIN_WINDOWS_H_

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

class AddinWindows {
 public:
  // `settings` is the add-in's record of the active project; everything
  // must outlive the windows, which are made on first use.
  AddinWindows(ProjectSettings& settings, VBE& vbe, FileServices& services,
               std::string addinFolder, QWidget* owner = nullptr);
  ~AddinWindows();

  // Runs the Options dialog modally, then the compile it asked for.
  void Show();
  // Hides the Options dialog, if it is shown.
  void Hide();

  // Makes `project` the active one, its settings in the record. By default
  // sets it active and reloads the settings from its file.
  std::function<void(VBProject*)> activateProject;
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
  void compileOne();
  void compileGroup();
  void closeOpenedWindow(const VBProject& project,
                         const std::vector<Window*>& open);

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

#endif  // SCRIVLET_ADDIN_WINDOWS_ADDIN_WINDOWS_H_
