#include "addin/compile_session.h"

#include <filesystem>

#include "addin/settings_file.h"
#include "base/path_within.h"
#include "base/text.h"
#include "compiler/compile_driver.h"
#include "compiler/macro_engine.h"
#include "compiler/output_names.h"
#include "source/store.h"

namespace scrivlet {

namespace {

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// The template a run names: a file, or a shipped template by its name
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
  if (!isWithinFolder(output, folder)) return false;
  fs::path realFolder = fs::canonical(folder, ec);
  if (ec) return false;
  fs::path realOutput = fs::weakly_canonical(output, ec);
  return !ec && !isWithinFolder(realOutput, realFolder);
}

}  // namespace

CompiledModel::CompiledModel() = default;
CompiledModel::CompiledModel(CompiledModel&&) noexcept = default;
CompiledModel& CompiledModel::operator=(CompiledModel&&) noexcept = default;
CompiledModel::~CompiledModel() = default;

CompileSession::CompileSession(VBE& vbe, FileServices& services,
                               std::string addinFolder)
    : vbe_(vbe), services_(services), addinFolder_(std::move(addinFolder)) {}

bool CompileSession::failed() const {
  const Progress& progress = services_.progress;
  return progress.failedWrites > 0 || progress.errorCount > 0;
}

std::vector<VBProject*> CompileSession::projectsToCompile() const {
  if (!group) return {vbe_.ActiveVBProject()};
  std::vector<VBProject*> projects;
  for (VBProject* project : vbe_.VBProjects())
    if (!project->VBComponents().empty()) projects.push_back(project);
  return projects;
}

// The settings of the active project with the run's overrides. With an
// output folder of its own the run leaves the settings' folder alone and
// creates its own.
void CompileSession::settingsForRun(ProjectSettings& settings) {
  SettingsFile file(vbe_, services_, addinFolder_);
  if (outputFolder.empty()) {
    file.reloadProjectSettings(settings);
  } else {
    file.readSettingsOrDefaults(settings);
    settings.outputPath = absolutePath(outputFolder);
    std::error_code ec;
    std::filesystem::create_directories(settings.outputPath, ec);
  }
  if (!templateFile.empty()) {
    settings.templatePath =
        absolutePath(templateOption(templateFile, addinFolder_));
    settings.templateFolder =
        std::filesystem::path(settings.templatePath).parent_path().string();
  }
}

CompileStop CompileSession::checkOutputFolder(const VBProject& project,
                                              const std::string& folder) {
  stopPath_ = folder;
  if (outputFolder.empty() && outputFolderLeadsOut(project, folder))
    return CompileStop::outputLeadsOut;
  if (!std::filesystem::is_directory(folder))
    return std::filesystem::exists(folder) ? CompileStop::outputIsAFile
                                           : CompileStop::outputMissing;
  stopPath_.clear();
  return CompileStop::none;
}

CompileStop CompileSession::compileProject(const ProjectSettings& settings,
                                           OutputNames& names, bool last) {
  Progress& progress = services_.progress;
  progress.abortRequested = stopAsked();
  CompiledModel model;
  model.elements = std::make_unique<store>();
  model.engine = std::make_unique<MacroEngine>(*model.elements, progress);
  FileServices& services = services_;
  model.engine->askFileError = [&services](const std::string& path,
                                           const std::string& operation,
                                           int number) {
    return askFileError(services, path, operation, number);
  };
  if (model.engine->loadSrc(settings.templatePath, false) != 0) {
    stopPath_ = settings.templatePath;
    return CompileStop::templateUnreadable;
  }
  model.driver = std::make_unique<CompileDriver>(
      *model.elements, *model.engine, settings, services_, addinFolder_);
  CompileDriver& driver = *model.driver;
  driver.helpCompiler = helpCompiler;
  driver.execAfter.echoCommands = echoCommands;
  driver.execAfter.run = runProcess;
  if (mayRunCommands)
    driver.mayRunCommands = [this, &settings] {
      return mayRunCommands(settings.templatePath);
    };
  driver.outputNames = &names;
  // An interrupt during the after-compile commands, after the last check,
  // counts as a stop too.
  if (!driver.compile(vbe_) || progress.abortRequested || stopAsked())
    return CompileStop::aborted;
  filesWritten_ += driver.filesWritten();
  if (keepLastModel && last) lastModel_ = std::move(model);
  return CompileStop::none;
}

CompileStop CompileSession::run() {
  Progress& progress = services_.progress;
  progress.compileGroup = group;
  std::vector<VBProject*> projects = projectsToCompile();
  // One for the whole run: the projects of a group may share a folder.
  OutputNames names;
  for (std::size_t i = 0; i < projects.size(); ++i) {
    const bool last = i + 1 == projects.size();
    vbe_.setActiveVBProject(projects[i]);
    progress.lastProjectOfGroup = last;
    ProjectSettings settings;
    settingsForRun(settings);
    CompileStop stop = checkOutputFolder(*projects[i], settings.outputPath);
    if (stop == CompileStop::none) stop = compileProject(settings, names, last);
    if (stop != CompileStop::none) return stop;
  }
  if (saveChanged) saveFailures_ = saveChanged();
  return CompileStop::none;
}

}  // namespace scrivlet
