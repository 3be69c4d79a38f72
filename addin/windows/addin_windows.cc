#include "addin/windows/addin_windows.h"

#include <exception>
#include <vector>

#include "addin/settings_file.h"
#include "addin/store_compile_run.h"
#include "addin/windows/options_dialog.h"
#include "addin/windows/progress_dialog.h"

namespace scrivlet {

AddinWindows::AddinWindows(ProjectSettings& settings, VBE& vbe,
                           FileServices& services, std::string addinFolder,
                           QWidget* owner)
    : settings_(settings),
      vbe_(vbe),
      services_(services),
      addinFolder_(std::move(addinFolder)),
      owner_(owner) {
  activateProject = [this](VBProject* project) {
    vbe_.setActiveVBProject(project);
    SettingsFile(vbe_, services_, addinFolder_)
        .reloadProjectSettings(settings_);
  };
}

AddinWindows::~AddinWindows() = default;

OptionsDialog& AddinWindows::optionsDialog() {
  if (!options_) {
    optionsModel_ = std::make_unique<OptionsModel>(settings_, vbe_, services_,
                                                   addinFolder_);
    options_ = std::make_unique<OptionsDialog>(*optionsModel_, owner_);
  }
  return *options_;
}

ProgressDialog& AddinWindows::progressDialog() {
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

void AddinWindows::Show() {
  OptionsDialog& options = optionsDialog();
  options.fillValues();
  options.exec();
  if (!options.model().startCompile) return;
  Progress& progress = services_.progress;
  progress.groupLog.clear();
  if (progress.compileGroup)
    compileGroup();
  else
    compileOne();
}

void AddinWindows::Hide() {
  if (options_) options_->hide();
}

void AddinWindows::compileOne() {
  ProgressDialog& window = progressDialog();
  window.codePage = settings_.codePage;
  window.exec();
}

void AddinWindows::compileGroup() {
  Progress& progress = services_.progress;
  VBProject* active = vbe_.ActiveVBProject();
  // A project without components has nothing to compile and is not
  // counted, so the last one compiled is the last whose window stays.
  std::vector<VBProject*> projects;
  for (VBProject* project : vbe_.VBProjects()) {
    try {
      if (!project->VBComponents().empty()) projects.push_back(project);
    } catch (const std::exception&) {
    }
  }
  for (std::size_t i = 0; i < projects.size(); ++i) {
    try {
      activateProject(projects[i]);
      progress.lastProjectOfGroup = i + 1 == projects.size();
      compileOne();
    } catch (const std::exception&) {
    }
  }
  try {
    if (active && vbe_.ActiveVBProject() != active) activateProject(active);
  } catch (const std::exception&) {
  }
  progress.groupLog.clear();
  progress.lastProjectOfGroup = false;
}

}  // namespace scrivlet
