#include "addin/windows/addin_windows.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "addin/settings_file.h"
#include "addin/store_compile_run.h"
#include "addin/trusted_templates.h"
#include "addin/windows/options_dialog.h"
#include "addin/windows/progress_dialog.h"

namespace scrivlet {

namespace {

CodePane* firstCodePane(const VBProject& project) {
  std::vector<VBComponent*> components = project.VBComponents();
  if (components.empty()) return nullptr;
  CodeModule* module = components.front()->CodeModule();
  return module ? module->CodePane() : nullptr;
}

}  // namespace

AddinWindows::AddinWindows(ProjectSettings& settings, VBE& vbe,
                           FileServices& services, std::string addinFolder,
                           QWidget* owner)
    : settings_(settings),
      vbe_(vbe),
      services_(services),
      addinFolder_(std::move(addinFolder)),
      owner_(owner) {
  activateProject = [this](VBProject* project) {
    // As the environment does it: the code pane of the project's first
    // component becomes the active one, which makes the project active.
    if (CodePane* pane = firstCodePane(*project)) vbe_.setActiveCodePane(pane);
    if (vbe_.ActiveVBProject() != project) vbe_.setActiveVBProject(project);
    SettingsFile(vbe_, services_, addinFolder_)
        .reloadProjectSettings(settings_);
  };
  isTrusted = [this](const std::string& templatePath) {
    return TemplateTrust{addinFolder_}.mayRunCommands(templatePath);
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
  const std::vector<Window*> open = vbe_.Windows();
  Window* focused = vbe_.ActiveWindow();
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
      closeOpenedWindow(*projects[i], open);
    } catch (const std::exception&) {
    }
  }
  try {
    if (active && vbe_.ActiveVBProject() != active) activateProject(active);
    if (focused) focused->SetFocus();
  } catch (const std::exception&) {
  }
  progress.groupLog.clear();
  progress.lastProjectOfGroup = false;
}

// Making a project active may have opened the code window of its first
// component; one the user had not opened is closed again.
void AddinWindows::closeOpenedWindow(const VBProject& project,
                                     const std::vector<Window*>& open) {
  CodePane* pane = firstCodePane(project);
  Window* window = pane ? pane->Window() : nullptr;
  if (window && std::find(open.begin(), open.end(), window) == open.end())
    window->Close();
}

}  // namespace scrivlet
