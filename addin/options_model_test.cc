#include "addin/options_model.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/message_box_test_util.h"
#include "addin/settings_file.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// A group of two open projects.
class GroupVBE : public FakeVBE {
 public:
  GroupVBE(VBProject* active, VBProject* other)
      : FakeVBE(active), other_(other) {}
  std::vector<VBProject*> VBProjects() const override {
    return {ActiveVBProject(), other_};
  }

 private:
  VBProject* other_;
};

// Project1 (Calc.vbp) with two modules, a resource file and a related
// document, in a fresh folder beside an add-in folder with two templates;
// its settings are the defaults, Module1 alone selected.
class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    fs::create_directories(dir / "addin/Templates");
    write(
        "addin/Templates/chm.scvt",
        "$scriv-description$\r\nHelp\r\nfiles\r\n$end-scriv-description$\r\n");
    write("addin/Templates/html.scvt",
          "$scriv-description$\r\nPages in $OUTPUT-PATH$\r\n"
          "$end-scriv-description$\r\n");
    write("addin/Templates/notes.txt", "");
    module1 = &project.addModule(vbext_ct_StdModule, "Module1", {});
    project.addComponentWithoutCode(vbext_ct_ResFile);
    class1 = &project.addModule(vbext_ct_ClassModule, "Class1", {});
    project.addComponentWithoutCode(vbext_ct_RelatedDocument);
    SettingsFile(vbe, services, addin()).setDefaultSettings(settings);
    settings.outputPath = (dir / "out").string();
    settings.selectedModules.clear();
    settings.selectedModules.add("Module1", module1);
  }
  ~OptionsTest() override { fs::remove_all(dir); }

  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::string addin() const { return (dir / "addin").string(); }
  std::string checkedModules() const {
    std::string list;
    for (const auto& item : model.modules())
      list += item.name + (item.checked ? "+ " : "- ");
    return list;
  }
  static std::string keys(const KeyedCollection<CodeModule*>& modules) {
    std::string list;
    for (const auto& entry : modules) list += entry.key + " ";
    return list;
  }

  static fs::path makeFolder() {
    std::string pattern = fs::temp_directory_path() / "scrivlet-XXXXXX";
    return ::mkdtemp(pattern.data());
  }

  fs::path dir = makeFolder();
  FakeProject project{(dir / "Calc.vbp").string()};
  FakeModule* module1;
  FakeModule* class1;
  FakeVBE vbe{&project};
  DiskFileSystem disk;
  CancellingBox box;
  Progress progress;
  FileServices services{disk, box, progress};
  ProjectSettings settings;
  OptionsModel model{settings, vbe, services, addin()};
};

TEST(TagNames, AreLettersAndDigitsOrTheTagsOwnName) {
  EXPECT_EQ(validTagName("  Note  ", 1), "Note");
  EXPECT_EQ(validTagName("Todo2", 3), "Todo2");
  EXPECT_EQ(validTagName("two words", 2), "user2");
  EXPECT_EQ(validTagName("caf\xe9", 2), "user2");
  EXPECT_EQ(validTagName("under_score", 4), "user4");
  EXPECT_EQ(validTagName("\tTab", 5), "user5");
  EXPECT_EQ(validTagName("   ", 1), "user1");
}

TEST_F(OptionsTest, FillsTheDialogFromTheSettings) {
  settings.indentMode = 7;
  settings.insertSourceGlobal = 5;
  model.fillValues();
  EXPECT_EQ(model.projectLabel(), "Project1 Project:");
  EXPECT_TRUE(model.controlsEnabled());
  EXPECT_FALSE(model.compileGroupEnabled());
  EXPECT_EQ(checkedModules(), "Module1+ Class1- ");
  EXPECT_EQ(model.templateFiles(),
            (std::vector<std::string>{"chm.scvt", "html.scvt"}));
  EXPECT_EQ(model.selectedTemplate(), 0);
  EXPECT_EQ(model.templateDescription(), "Help files");
  EXPECT_EQ(model.indentMode(), 0);
  EXPECT_EQ(model.sourceOption(), OptionsModel::sourceNever);

  FakeProject other;
  GroupVBE group(&project, &other);
  OptionsModel inGroup(settings, group, services, addin());
  inGroup.fillValues();
  EXPECT_TRUE(inGroup.compileGroupEnabled());

  FakeVBE empty(nullptr);
  OptionsModel noProject(settings, empty, services, addin());
  noProject.fillValues();
  EXPECT_EQ(noProject.projectLabel(), "No project opened !");
  EXPECT_FALSE(noProject.controlsEnabled());
  EXPECT_FALSE(noProject.compileGroupEnabled());
  EXPECT_TRUE(noProject.modules().empty());
}

TEST_F(OptionsTest, ModuleChecksBecomeTheSelectionOnApply) {
  model.fillValues();
  model.setModuleChecked(1, true);
  model.setModuleChecked(1, false);
  model.apply();
  EXPECT_EQ(keys(settings.selectedModules), "Module1 ");

  model.selectAll();
  EXPECT_EQ(checkedModules(), "Module1+ Class1+ ");
  model.selectAll();
  EXPECT_EQ(keys(model.working().selectedModules), "Module1 Class1 ");
  model.deselectAll();
  model.setModuleChecked(1, true);
  model.apply();
  EXPECT_EQ(keys(settings.selectedModules), "Class1 ");
  EXPECT_NE(read("Calc.scriv").find("comModules = Class1"), std::string::npos);
  EXPECT_EQ(read("Calc.scriv").find("comModules = Module1"), std::string::npos);
}

TEST_F(OptionsTest, CancelLeavesTheSettingsAndTheirFile) {
  model.fillValues();
  ASSERT_EQ(model.apply(), 0);
  const std::string saved = read("Calc.scriv");
  model.working().comPrivate = true;
  model.working().userName[0] = "Changed";
  model.deselectAll();
  model.setIndentMode(1);
  // Cancel applies nothing; the next showing starts from the settings.
  model.fillValues();
  EXPECT_FALSE(settings.comPrivate);
  EXPECT_EQ(settings.userName[0], "user1");
  EXPECT_EQ(keys(settings.selectedModules), "Module1 ");
  EXPECT_EQ(model.working().userName[0], "user1");
  EXPECT_EQ(checkedModules(), "Module1+ Class1- ");
  EXPECT_EQ(read("Calc.scriv"), saved);
}

TEST_F(OptionsTest, ApplyCleansTagNamesAndKeepsTheEditorsOwnSettings) {
  settings.wordWrapLength = -72;
  settings.autoInsertEOL = 1;
  model.fillValues();
  model.working().userName[1] = "two words";
  model.working().userName[2] = " Todo ";
  model.leaveTagName(2);
  EXPECT_EQ(model.working().userName[2], "Todo");
  model.working().wordWrapLength = 10;
  model.setSourceOption(OptionsModel::sourceByTag);
  model.compile(true);
  EXPECT_TRUE(model.startCompile);
  EXPECT_TRUE(progress.compileGroup);
  EXPECT_EQ(settings.userName[1], "user2");
  EXPECT_EQ(settings.userName[2], "Todo");
  EXPECT_EQ(settings.insertSourceGlobal, 2);
  EXPECT_EQ(settings.wordWrapLength, -72);
  EXPECT_EQ(settings.autoInsertEOL, 1);
  const std::string file = read("Calc.scriv");
  EXPECT_NE(file.find("\r\nuser2Name = user2\r\nuser3Name = Todo\r\n"),
            std::string::npos);
  EXPECT_NE(file.find("\r\nwordWrapLength = -72\r\n"), std::string::npos);
}

TEST_F(OptionsTest, CompileCreatesANewOutputFolderAndApplyDoesNot) {
  model.fillValues();
  model.outputFolderChosen((dir / "new/pages").string());
  model.apply();
  EXPECT_FALSE(fs::exists(dir / "new"));
  model.compile(false);
  EXPECT_TRUE(fs::is_directory(dir / "new/pages"));
}

TEST_F(OptionsTest, ImportsOnlyUserTagsAndOnlyFromASettingsFile) {
  model.fillValues();
  model.working().userDefault[0] = "mine";
  write("other.scriv",
        "#Scrivlet Project Settings#\r\naddUser2 = 1\r\nuser2Name = \r\n"
        "user3Name = Note\r\nuser3Default = see below\r\ncomPrivate = 1\r\n"
        "outputPath = /elsewhere\r\nnoSuchKey = 1");
  write("wrong.scriv", "#Not Settings#\r\naddUser1 = 1\r\nuser1Name = Bad");

  const ProjectSettings before = model.working();
  EXPECT_EQ(model.importUserTags((dir / "wrong.scriv").string()), 1);
  EXPECT_EQ(model.importUserTags(""), 0);
  EXPECT_EQ(settingsText(model.working()), settingsText(before));

  EXPECT_EQ(model.importUserTags((dir / "other.scriv").string()), 0);
  const ProjectSettings& w = model.working();
  EXPECT_EQ(w.addUser, (std::array<bool, 5>{false, true, false, false, false}));
  EXPECT_EQ(w.userName, (std::array<std::string, 5>{"user1", "user2", "Note",
                                                    "user4", "user5"}));
  EXPECT_EQ(w.userDefault[0], "mine");
  EXPECT_EQ(w.userDefault[2], "see below");
  EXPECT_FALSE(w.comPrivate);
  EXPECT_EQ(w.outputPath, settings.outputPath);

  // A file that cannot be read asks, and the cancelled prompt changes
  // nothing.
  EXPECT_EQ(model.importUserTags((dir / "missing.scriv").string()), 2);
  EXPECT_NE(box.shown.find("Error reading"), std::string::npos);
  EXPECT_EQ(w.userName[2], "Note");
}

TEST_F(OptionsTest, TemplateListFollowsTheFolderAndDescribesTheChoice) {
  model.fillValues();
  model.selectTemplate(1);
  EXPECT_EQ(model.working().templatePath,
            (dir / "addin/Templates/html.scvt").string());
  EXPECT_EQ(model.templateDescription(), "Pages in " + (dir / "out").string());

  fs::create_directories(dir / "mine");
  write("mine/Broken.SCVT", "$scriv-description$\r\nnever ends\r\n");
  model.setTemplateFolder((dir / "mine").string() + "/");
  model.leaveTemplateFolder();
  EXPECT_EQ(model.templateDescription(), "");
  EXPECT_EQ(model.templateFiles(), std::vector<std::string>{"Broken.SCVT"});
  EXPECT_EQ(model.selectedTemplate(), -1);
  // Gone before it is chosen: it cannot be read.
  fs::remove(dir / "mine/Broken.SCVT");
  model.selectTemplate(0);
  const std::string broken = (dir / "mine/Broken.SCVT").string();
  EXPECT_EQ(model.working().templatePath, broken);
  EXPECT_EQ(model.templateDescription(),
            "Cannot read description from " + broken + " file.");

  model.templatesFolderChosen("");
  EXPECT_EQ(model.working().templateFolder, (dir / "mine").string() + "/");
  model.templatesFolderChosen(addin() + "/Templates");
  EXPECT_EQ(model.templateFiles().size(), 2u);
  model.outputFolderChosen("");
  EXPECT_EQ(model.working().outputPath, (dir / "out").string());
  model.outputFolderChosen("/tmp/docs");
  EXPECT_EQ(model.working().outputPath, "/tmp/docs");
}

}  // namespace
}  // namespace scrivlet
