#include "addin/store_compile_run.h"

#include <utility>

#include "compiler/compile_driver.h"
#include "compiler/macro_engine.h"
#include "source/store.h"

namespace scrivlet {

StoreCompileRun::StoreCompileRun(VBE& vbe, const ProjectSettings& settings,
                                 FileServices& services,
                                 std::string addinFolder)
    : vbe_(vbe),
      settings_(settings),
      services_(services),
      addinFolder_(std::move(addinFolder)),
      elements_(std::make_unique<store>()),
      engine_(std::make_unique<MacroEngine>(*elements_, services.progress)) {}

StoreCompileRun::~StoreCompileRun() = default;

void StoreCompileRun::compile(const MayRunCommands& mayRunCommands) {
  engine_->askFileError = [this](const std::string& path,
                                 const std::string& operation, int number) {
    return askFileError(services_, path, operation, number);
  };
  // A template that cannot be loaded has said why; the compile then writes
  // what an empty template gives, as the environment's add-in did.
  engine_->loadSrc(settings_.templatePath, false);
  CompileDriver driver(*elements_, *engine_, settings_, services_,
                       addinFolder_);
  driver.helpCompiler = helpCompiler;
  driver.execAfter.run = runCommand;
  std::string templatePath = settings_.templatePath;
  driver.mayRunCommands = [&mayRunCommands, templatePath] {
    return !mayRunCommands || mayRunCommands(templatePath);
  };
  driver.compile(vbe_);
}

std::string StoreCompileRun::helpFile() {
  return engine_->evaluateMacro("scriv-help-file", false);
}

}  // namespace scrivlet
