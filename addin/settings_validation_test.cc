#include "addin/settings_validation.h"

#include <gtest/gtest.h>

#include "base/scratch_folder_test_util.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

// What is stored is what the settings file would read back: line breaks
// of every kind in the title page become CR, folders are taken from the
// project's folder, and the template keeps its name in a new folder.
TEST(SettingsValidation, StoresValuesAsTheFileReadsThem) {
  FakeProject project("/work/Calc/Calc.vbp");
  project.addModule(vbext_ct_StdModule, "Module1", {});
  project.addModule(vbext_ct_VBForm, "Form1", {});
  ProjectSettings settings;
  settings.templateFolder = "/addin/Templates";
  settings.templatePath = "/addin/Templates/chm.scvt";
  auto set = [&](const std::string& key, const std::string& value) {
    return setSetting(settings, project, "/work/Calc", key, value);
  };
  auto selected = [&] {
    std::string names;
    for (std::size_t i = 0; i < settings.selectedModules.size(); ++i)
      names += settings.selectedModules.keyAt(i) + " ";
    return names;
  };
  EXPECT_EQ(set("titlePageText", "One\r\nTwo\nThree^scrvEOL^Four"), "");
  EXPECT_EQ(settings.titlePageText, "One\rTwo\rThree\rFour");
  EXPECT_EQ(set("outputPath", "doc"), "");
  EXPECT_EQ(settings.outputPath, "/work/Calc/doc");
  EXPECT_EQ(set("templateFolder", "tpl/"), "");
  EXPECT_EQ(settings.templateFolder, "/work/Calc/tpl");
  EXPECT_EQ(settings.templatePath, "/work/Calc/tpl/chm.scvt");
  EXPECT_EQ(set("comModules", " Form1 ,,Module1"), "");
  EXPECT_EQ(selected(), "Form1 Module1 ");
  // A refused value leaves what was stored.
  EXPECT_EQ(set("comModules", "Form1,Gone"),
            "comModules: the project has no code module \"Gone\"");
  EXPECT_EQ(selected(), "Form1 Module1 ");
}

TEST(SettingsValidation, AMissingTemplateIsNamed) {
  ScratchFolder dir;
  dir.write("tpl/own.scvt", "");
  DiskFileSystem disk;
  ProjectSettings settings;
  settings.templatePath = dir.path("tpl/own.scvt");
  EXPECT_EQ(missingTemplate(settings, disk), "");
  settings.templatePath = dir.path("tpl/gone.scvt");
  EXPECT_EQ(missingTemplate(settings, disk),
            "templatePath: there is no template " + dir.path("tpl/gone.scvt"));
}

}  // namespace
}  // namespace scrivlet
