#include "addin/windows/compile_windows.h"

#include "addin/store_compile_run.h"
#include "addin/trusted_templates.h"
#include "addin/windows/options_dialog.h"
#include "addin/windows/progress_dialog.h"

namespace scrivlet {

CompileWindows::CompileWindows(ProjectSettings& settings, VBE& vbe,
                               FileServices& services, std::string addinFolder,
                               QWidget* owner)
    : settings_(settings),
      vbe_(vbe),
      services_(services),
      addinFolder_(std::move(addinFolder)),
      owner_(owner) {
  isTrusted = [this](const std::string& templatePath) {
    return TemplateTrust{addinFolder_, {}}.mayRunCommands(templatePath);
  };
}

CompileWindows::~CompileWindows() = default;

OptionsDialog& CompileWindows::optionsDialog() {
  if (!options_) {
    optionsModel_ = std::make_unique<OptionsModel>(settings_, vbe_, services_,
                                                   addinFolder_);
    options_ = std::make_unique<OptionsDialog>(*optionsModel_, owner_);
  }
  return *options_;
}

ProgressDialog& CompileWindows::progressDialog() {
  if (!progress_) {
    progressModel_ = std::make_unique<ProgressModel>(
        services_, addinFolder_, [this]() -> std::unique_ptr<CompileRun> {
          auto run = std::make_unique<StoreCompileRun>(vbe_, settings_,
                                                       services_, addinFolder_);
          run->helpCompiler = helpCompiler;
          run->runCommand = runCommand;
          return run;
        });
    progressModel_->isTrusted = [this](const std::string& path) {
      return !isTrusted || isTrusted(path);
    };
    progress_ = std::make_unique<ProgressDialog>(*progressModel_, owner_);
  }
  return *progress_;
}

bool CompileWindows::showOptions() {
  OptionsDialog& options = optionsDialog();
  options.fillValues();
  options.exec();
  return options.model().startCompile;
}

void CompileWindows::Hide() {
  if (options_) options_->hide();
}

void CompileWindows::showProgress() {
  ProgressDialog& window = progressDialog();
  window.codePage = settings_.codePage;
  window.exec();
}

}  // namespace scrivlet
