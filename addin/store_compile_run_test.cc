#include "addin/store_compile_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "addin/settings_file.h"
#include "compiler/disk_project_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// The example project compiled through the progress window's model, as
// "Compile" in the options runs it.
TEST(StoreCompileRun, CompilesTheExampleAndFindsItsEntryPage) {
  ScratchFolder temp;
  fs::copy(std::string(SCRIVLET_SOURCE_DIR) + "/examples/Calc",
           temp.path("Calc"));
  const std::string before = temp.read("Calc/modMath.bas");
  std::unique_ptr<DiskVBE> vbe = openProject(temp.path("Calc/Calc.vbp"));
  ASSERT_TRUE(vbe);
  CancellingBox box;
  Progress progress;
  DiskFileSystem disk;
  FileServices services{disk, box, progress};
  const std::string addin = std::string(SCRIVLET_SOURCE_DIR);
  ProjectSettings settings;
  SettingsFile(*vbe, services, addin).setDefaultSettings(settings);
  settings.templatePath = addin + "/templates/html.scvt";
  settings.outputPath = temp.path("out");
  settings.comContextID = true;
  fs::create_directory(settings.outputPath);

  ProgressModel model(services, addin, [&] {
    return std::make_unique<StoreCompileRun>(*vbe, settings, services, addin);
  });
  std::string opened;
  model.open = [&](const std::string& path) {
    opened = path;
    return true;
  };
  model.startCompile();
  EXPECT_EQ(model.title(), "Compilation status:");
  EXPECT_TRUE(temp.exists("out/Calc.htm"));
  EXPECT_TRUE(temp.exists("out/Calculator.htm"));
  model.showDocumentation();
  EXPECT_EQ(opened, temp.path("out") + "/Calc.htm");
  EXPECT_EQ(box.shown, "");
  // Help numbers went into the model only; saving is the host's business.
  EXPECT_EQ(temp.read("Calc/modMath.bas"), before);
}

}  // namespace
}  // namespace scrivlet
