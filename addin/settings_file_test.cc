#include "addin/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "base/addin_folder.h"
#include "base/scratch_folder_test_util.h"
#include "base/text.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// Records every box; `answer` decides (it may change the world first).
class PromptRecorder : public MessageBox {
 public:
  std::function<MessageAnswer()> answer = [] { return MessageAnswer::Cancel; };
  std::string shown;
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon) override {
    shown += title + " | " + text + " | " +
             std::to_string(static_cast<int>(buttons)) + "\n";
    return answer();
  }
};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A project Calc.vbp in a fresh folder, an add-in folder with its shipped
// template, and the services over the real disk.
class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    fs::create_directories(dir / "addin/Templates");
    writeBytes(dir / "addin/Templates/chm.scvt", "");
    project.addModule(vbext_ct_StdModule, "Module1", {});
    project.addComponentWithoutCode(vbext_ct_ResFile);
    project.addModule(vbext_ct_ClassModule, "Class1", {});
    project.addComponentWithoutCode(vbext_ct_RelatedDocument);
    project.addModule(vbext_ct_VBForm, "Form1", {});
  }

  std::string at(const std::string& name) const {
    return (dir / name).string();
  }
  // `text` with {dir} standing for the test folder.
  std::string expand(const std::string& text) const {
    return replaceAll(text, "{dir}", dir.string());
  }

  ScratchFolder scratch;
  const fs::path& dir = scratch.folder();
  FakeProject project{(dir / "Calc.vbp").string()};
  FakeVBE vbe{&project};
  DiskFileSystem disk;
  PromptRecorder box;
  Progress progress;
  FileServices services{disk, box, progress};
  SettingsFile file{vbe, services, at("addin")};
  ProjectSettings settings;
};

// Folders inside the project are saved relative to it, unless a blank at
// either end would be lost when the value is read back trimmed.
TEST(SettingsPaths, FoldersInsideTheProjectAreRelative) {
  EXPECT_EQ(pathInFolder("/w/Scriv", "/w"), "Scriv");
  EXPECT_EQ(pathInFolder("/w/docs/api/", "/w/"), "docs/api/");
  EXPECT_EQ(pathInFolder("/w", "/w"), ".");
  EXPECT_EQ(pathInFolder("/w/", "/w"), ".");
  EXPECT_EQ(pathInFolder("/wx/Scriv", "/w"), "/wx/Scriv");
  EXPECT_EQ(pathInFolder("/w/doc /", "/w"), "doc /");
  EXPECT_EQ(pathInFolder("/w/doc ", "/w"), "/w/doc ");
  EXPECT_EQ(pathInFolder("/w/ doc", "/w"), "/w/ doc");
  EXPECT_EQ(pathInFolder("/etc/x", "/"), "etc/x");
  EXPECT_EQ(pathInFolder("rel", "/w"), "rel");
  // And read back as they were.
  EXPECT_EQ(resolveProjectPath(".", "/w"), "/w");
  EXPECT_EQ(resolveProjectPath("doc /", "/w"), "/w/doc /");
}

TEST_F(SettingsTest, NamesTheSettingsFileAndOutputFolderAfterTheProject) {
  FakeProject upper("/w/App.VBP"), backup("/w/Calc.vbp.bak"),
      other("/w/Calc.mak"), bare("Calc.vbp");
  std::string names;
  for (FakeProject* p : {&upper, &backup, &other, &bare}) {
    vbe.setActiveVBProject(p);
    names += file.settingsFilePath() + " " + file.defaultOutputFolder() + "\n";
  }
  vbe.setActiveVBProject(nullptr);
  names += file.defaultOutputFolder() + "\n";
  EXPECT_EQ(names, expand("/w/App.scriv /w/Scriv\n"
                          "/w/Calc.scriv /w/Scriv\n"
                          "/w/Calc.mak.scriv /w/Scriv\n"
                          "Calc.scriv Scriv\n"
                          "{dir}/addin\n"));
}

TEST_F(SettingsTest, SavesEveryKeyInOrderWithNoLineEndAfterTheLast) {
  file.setDefaultSettings(settings);
  ASSERT_EQ(file.saveProjectSettings(settings), 0);
  EXPECT_EQ(readBytes(dir / "Calc.scriv"),
            expand("#Scrivlet Project Settings#\r\n"
                   "addSee = 1\r\naddParam = 1\r\naddReturn = 1\r\n"
                   "addDescription = 1\r\naddRem = 1\r\naddSame = 0\r\n"
                   "addAuthor = 0\r\naddRevision = 0\r\naddVersion = 0\r\n"
                   "addIncludeSource = 0\r\n"
                   "addUser1 = 0\r\naddUser2 = 0\r\naddUser3 = 0\r\n"
                   "addUser4 = 0\r\naddUser5 = 0\r\n"
                   "user1Name = user1\r\nuser2Name = user2\r\n"
                   "user3Name = user3\r\nuser4Name = user4\r\n"
                   "user5Name = user5\r\n"
                   "user1Default = \r\nuser2Default = \r\nuser3Default = \r\n"
                   "user4Default = \r\nuser5Default = \r\n"
                   "comNonCommented = 1\r\ncomPublic = 1\r\ncomPrivate = 0\r\n"
                   "comFriend = 0\r\ncomEvent = 1\r\ncomMethod = 1\r\n"
                   "comStdModule = 0\r\ncomObject = 1\r\ncomForm = 1\r\n"
                   "comProperty = 1\r\ncomVariable = 0\r\ncomConstant = 0\r\n"
                   "comContextID = 0\r\ncomWriteDescription = 0\r\n"
                   "indentMode = 0\r\naddingMode = 0\r\n"
                   "insertSourceGlobal = 0\r\nautoUpdateParams = 0\r\n"
                   "wordWrapLength = 80\r\nautoInsertEOL = 0\r\n"
                   "titlePageText = \r\n"
                   "outputPath = Scriv\r\n"
                   "templateFolder = \r\n"
                   "templatePath = chm.scvt\r\n"
                   "comModules = Module1\r\ncomModules = Class1\r\n"
                   "comModules = Form1\r\n"
                   "comEnum = 1\r\ncomType = 1\r\ncodePage = 1252"));
}

TEST_F(SettingsTest, ReadsBackWhatItSaved) {
  file.setDefaultSettings(settings);
  settings.addSee = false;
  settings.addUser[2] = true;
  settings.userName[2] = "todo";
  settings.userDefault[2] = "  padded t\xe9xt  ";
  settings.wordWrapLength = -72;
  settings.insertSourceGlobal = 2;
  settings.titlePageText = "First line\rSecond line";
  settings.selectedModules.clear();
  settings.selectedModules.add("Form1",
                               project.VBComponents()[4]->CodeModule());
  ASSERT_EQ(file.saveProjectSettings(settings), 0);
  EXPECT_NE(readBytes(dir / "Calc.scriv")
                .find("\r\ntitlePageText = First line^scrvEOL^Second line\r\n"),
            std::string::npos);

  ProjectSettings loaded;
  file.reloadProjectSettings(loaded);
  EXPECT_EQ(loaded.wordWrapLength, -72);
  EXPECT_EQ(loaded.titlePageText, "First line\rSecond line");
  // Spaces around a value do not survive the " = " of the file.
  EXPECT_EQ(loaded.userDefault[2], "padded t\xe9xt");
  settings.userDefault[2] = "padded t\xe9xt";
  EXPECT_EQ(settingsText(loaded), settingsText(settings));
  EXPECT_TRUE(fs::is_directory(dir / "Scriv"));
}

TEST_F(SettingsTest, ReadsHandWrittenFilesByTheReadingRules) {
  fs::create_directories(dir / "tpl");
  writeBytes(dir / "tpl/html.scvt", "");
  writeBytes(dir / "Calc.scriv",
             "#Scrivlet Project Settings#\n"
             "addSee=0\r\n"
             "   addParam   =   0   \r\n"
             "addReturn =\r\n"
             "addRem = -1\r\n"
             "\r\n"
             "a line without an equals sign\r\n"
             "user1Name =\r\n"
             "user2Name = = odd\r\n"
             "comModules = form1\r\n"
             "comModules = FORM1\r\n"
             "comModules = Resources\r\n"
             "comModules = Gone\r\n"
             "comModules = Module1\r\n"
             "outputPath = doc/html\r\n"
             "templateFolder = tpl/\r\n"
             "templatePath = html.scvt");
  file.setDefaultSettings(settings);
  ASSERT_EQ(file.loadProjectSettings(settings, false), 0);
  EXPECT_FALSE(settings.addSee);
  EXPECT_FALSE(settings.addParam);
  EXPECT_TRUE(settings.addReturn);
  EXPECT_TRUE(settings.addRem);
  EXPECT_EQ(settings.userName[0], "user1");
  EXPECT_EQ(settings.userName[1], "= odd");
  EXPECT_EQ(settings.outputPath, at("doc/html"));
  EXPECT_EQ(settings.templateFolder, at("tpl"));
  EXPECT_EQ(settings.templatePath, at("tpl/html.scvt"));
  std::string selection;
  for (const auto& entry : settings.selectedModules)
    selection += entry.key + "=" + entry.item->Name() + " ";
  EXPECT_EQ(selection, "form1=Form1 Module1=Module1 ");
  EXPECT_EQ(box.shown, "");

  // A template that has gone: back to the shipped one, the rest is kept.
  fs::remove(dir / "tpl/html.scvt");
  ASSERT_EQ(file.loadProjectSettings(settings, true), 0);
  EXPECT_EQ(settings.templateFolder, at("addin/Templates"));
  EXPECT_EQ(settings.templatePath, at("addin/Templates/chm.scvt"));
  EXPECT_FALSE(settings.addSee);
}

// The Enum and Type switches came after the others: a file written before
// them holds neither and loads with both on; one that holds them reads
// them wherever they stand.
TEST_F(SettingsTest, EnumAndTypeSwitchesAreOptional) {
  const std::string header = "#Scrivlet Project Settings#\r\n";
  writeBytes(dir / "Calc.scriv", header +
                                     "comPrivate = 1\r\ncomModules = Form1\r\n"
                                     "templatePath = chm.scvt");
  ASSERT_EQ(file.readSettingsOrDefaults(settings), 0);
  EXPECT_TRUE(settings.comPrivate);
  EXPECT_TRUE(settings.comEnum);
  EXPECT_TRUE(settings.comType);
  writeBytes(dir / "Calc.scriv",
             header + "comType = 0\r\ncomModules = Form1\r\ncomEnum = 0");
  ASSERT_EQ(file.readSettingsOrDefaults(settings), 0);
  EXPECT_FALSE(settings.comEnum);
  EXPECT_FALSE(settings.comType);
  settings.comType = true;
  EXPECT_TRUE(endsWith(settingsText(settings),
                       "\rcomModules = Form1\rcomEnum = 0\rcomType = 1"
                       "\rcodePage = 1252"));
}

// Only the template's file name is saved, so a hand-edited file that moves
// the templates folder after naming the template (or names no template)
// must not leave a template outside its folder, which would change on the
// next save and read.
TEST_F(SettingsTest, TemplateAlwaysLiesInTheTemplatesFolderRead) {
  fs::create_directories(dir / "tpl");
  writeBytes(dir / "tpl/html.scvt", "");
  writeBytes(dir / "addin/Templates/html.scvt", "");
  const std::string header = "#Scrivlet Project Settings#\r\n";
  struct Case {
    const char* lines;
    const char* folder;
    const char* path;
  } cases[] = {
      {"templatePath = html.scvt\r\ntemplateFolder = tpl", "tpl",
       "tpl/html.scvt"},
      {"templateFolder = tpl", "addin/Templates", "addin/Templates/chm.scvt"},
      // A template that has gone: the shipped one of its name, else the
      // default.
      {"templateFolder = gone\r\ntemplatePath = html.scvt",
       "addin/Templates", "addin/Templates/html.scvt"},
      {"templateFolder = gone\r\ntemplatePath = mine.scvt",
       "addin/Templates", "addin/Templates/chm.scvt"},
  };
  for (const Case& c : cases) {
    writeBytes(dir / "Calc.scriv", header + c.lines);
    ASSERT_EQ(file.readSettingsOrDefaults(settings), 0) << c.lines;
    EXPECT_EQ(settings.templateFolder, at(c.folder)) << c.lines;
    EXPECT_EQ(settings.templatePath, at(c.path)) << c.lines;
    const std::string read = settingsText(settings);
    ASSERT_EQ(file.saveProjectSettings(settings), 0);
    ASSERT_EQ(file.readSettingsOrDefaults(settings), 0);
    EXPECT_EQ(settingsText(settings), read) << c.lines;
  }
  EXPECT_NE(progress.messageLog.find(
                "WARNING: templatePath = html.scvt: the template " +
                at("gone/html.scvt") + " was not found; " +
                at("addin/Templates/html.scvt") + " is used instead.\r\n"),
            std::string::npos)
      << progress.messageLog;
}

TEST_F(SettingsTest, AFileNotReadCompletelyLeavesOnlyDefaults) {
  const std::string header = "#Scrivlet Project Settings#\r\n";
  struct Case {
    const char* bytes;
    int result;
  } cases[] = {
      {"addSee = 0\r\nAddParam = 0", 1},         // keys are case-sensitive
      {"addSee = 0\r\nmystery = 1", 1},          // unknown key
      {"addSee = 0\r\nwordWrapLength = 7x", 3},  // not a number
      {"addSee = 0\r\nindentMode = 40000", 3},   // does not fit
      {"addSee = 0\r\ncodePage = 70000", 3},     // no such code page
      {"addSee = 0\r\ncodePage = -1", 3},
  };
  for (const Case& c : cases) {
    writeBytes(dir / "Calc.scriv", header + c.bytes);
    ProjectSettings probe;
    file.setDefaultSettings(probe);
    EXPECT_EQ(file.loadProjectSettings(probe, true), c.result) << c.bytes;
    file.reloadProjectSettings(settings);
    EXPECT_TRUE(settings.addSee) << c.bytes;
    EXPECT_EQ(settings.selectedModules.size(), 3u) << c.bytes;
  }
  writeBytes(dir / "Calc.scriv", "#Scrivlet Project Settings #\r\naddSee = 0");
  EXPECT_EQ(file.loadProjectSettings(settings, true), 1);
  writeBytes(dir / "Calc.scriv", "");
  EXPECT_EQ(file.loadProjectSettings(settings, true), 1);
  fs::remove(dir / "Calc.scriv");
  EXPECT_EQ(file.loadProjectSettings(settings, true), 3);

  // The code page takes any number a code page can have.
  writeBytes(dir / "Calc.scriv", header + "codePage = 65001");
  ASSERT_EQ(file.loadProjectSettings(settings, true), 0);
  EXPECT_EQ(settings.codePage, 65001);

  // A file that ends after its header selects no module.
  writeBytes(dir / "Calc.scriv", "#Scrivlet Project Settings#");
  file.reloadProjectSettings(settings);
  EXPECT_TRUE(settings.selectedModules.empty());
  EXPECT_EQ(box.shown, "");
}

TEST_F(SettingsTest, ReadErrorsAskTheUserWhenNotSilent) {
  const std::string path = at("Calc.scriv");
  writeBytes(path, "#Scrivlet Project Settings#\r\nwordWrapLength = 7x");
  // Retry reads the file again, which the user has mended meanwhile.
  box.answer = [&] {
    writeBytes(path, "#Scrivlet Project Settings#\r\nwordWrapLength = 70");
    return MessageAnswer::Retry;
  };
  file.setDefaultSettings(settings);
  EXPECT_EQ(file.loadProjectSettings(settings, false), 0);
  EXPECT_EQ(settings.wordWrapLength, 70);
  EXPECT_EQ(box.shown,
            "Error reading " + path + " file | Unrecognized file error. | 5\n");
  EXPECT_FALSE(progress.abortRequested);

  fs::remove(path);
  box.shown.clear();
  box.answer = [] { return MessageAnswer::Cancel; };
  EXPECT_EQ(file.loadProjectSettings(settings, false), 2);
  EXPECT_EQ(box.shown,
            "Error reading " + path + " file | Unrecognized file error. | 5\n");
  EXPECT_TRUE(progress.abortRequested);
}

TEST_F(SettingsTest,
       ASaveThatFailsIsReportedAndAProjectNeverSavedIsNotWritten) {
  FakeProject moved(at("gone/Calc.vbp"));
  vbe.setActiveVBProject(&moved);
  file.setDefaultSettings(settings);
  EXPECT_EQ(file.saveProjectSettings(settings), 1);
  EXPECT_EQ(box.shown, expand("Error saving {dir}/gone/Calc.scriv file | "
                              "That path doesn't exist. | 5\n"));

  FakeProject unsaved("");
  vbe.setActiveVBProject(&unsaved);
  box.shown.clear();
  file.reloadProjectSettings(settings);
  EXPECT_EQ(file.saveProjectSettings(settings), 2);
  EXPECT_EQ(box.shown, "");
  EXPECT_FALSE(fs::exists(".scriv"));
}

TEST_F(SettingsTest, ImportTakesOnlyTheUserTags) {
  writeBytes(dir / "Other.scriv",
             "#Scrivlet Project Settings#\r\n"
             "addSee = 0\r\naddUser4 = 1\r\nuser4Name = bug\r\n"
             "user4Default = see tracker\r\nuser5Name = \r\nmystery = 1\r\n"
             "comModules = Class1\r\nwordWrapLength = x");
  file.setDefaultSettings(settings);
  settings.userName[4] = "review";
  std::string before = settingsText(settings);
  ASSERT_EQ(file.importUserTags(settings, at("Other.scriv")), 0);
  std::string expected = replaceAll(before, "addUser4 = 0", "addUser4 = 1");
  expected = replaceAll(expected, "user4Name = user4", "user4Name = bug");
  expected =
      replaceAll(expected, "user4Default = ", "user4Default = see tracker");
  expected = replaceAll(expected, "user5Name = review", "user5Name = user5");
  EXPECT_EQ(settingsText(settings), expected);

  writeBytes(dir / "Other.scriv", "addUser1 = 1");
  EXPECT_EQ(file.importUserTags(settings, at("Other.scriv")), 1);
}

TEST(AddinFolder, IsWhereTheRunningCodeLiesUnlessNamed) {
  ::unsetenv("SCRIVLET_ADDIN_FOLDER");
  EXPECT_EQ(findAddinFolder(),
            fs::canonical("/proc/self/exe").parent_path().string());
  ::setenv("SCRIVLET_ADDIN_FOLDER", "/opt/scrivlet/", 1);
  EXPECT_EQ(findAddinFolder(), "/opt/scrivlet");
  ::unsetenv("SCRIVLET_ADDIN_FOLDER");
}

TEST(SettingsNumbers, ReadSigned16BitDecimals) {
  std::string results;
  for (const char* text : {"-72", "+5", "32767", "-32768", "32768",
                           "99999999999", "", "-", "7x", " 7", "0x10"}) {
    std::int16_t value = 0;
    int error = readInteger16(text, value);
    results +=
        std::string(text) + ":" +
        (error ? "error " + std::to_string(error) : std::to_string(value)) +
        " ";
  }
  EXPECT_EQ(results,
            "-72:-72 +5:5 32767:32767 -32768:-32768 32768:error 6 "
            "99999999999:error 6 :error 13 -:error 13 7x:error 13 "
            " 7:error 13 0x10:error 13 ");
}

TEST(UserPreferences, DisplayOnConnectLivesInTheSettingsSection) {
  ScratchFolder scratch;
  const fs::path& dir = scratch.folder();
  DiskFileSystem disk;
  const std::string ini = (dir / "config/Scrivlet/Scrivlet.ini").string();

  EXPECT_FALSE(displayOnConnect(disk, ini));
  ASSERT_EQ(setDisplayOnConnect(disk, ini, true), 0);
  EXPECT_TRUE(displayOnConnect(disk, ini));
  EXPECT_EQ(readBytes(ini), "[Settings]\nDisplayOnConnect=1\n");

  writeBytes(ini,
             "[Window]\nDisplayOnConnect=1\n\n[settings]\nlast = x\n"
             "displayonconnect = 1\n[Other]\nkey=v\n");
  ASSERT_EQ(setDisplayOnConnect(disk, ini, false), 0);
  EXPECT_FALSE(displayOnConnect(disk, ini));
  EXPECT_EQ(readBytes(ini),
            "[Window]\nDisplayOnConnect=1\n\n[settings]\nlast = x\n"
            "DisplayOnConnect=0\n[Other]\nkey=v\n");
  ASSERT_EQ(saveUserSetting(disk, ini, "Settings", "Theme", "dark"), 0);
  ASSERT_EQ(saveUserSetting(disk, ini, "New", "a", "b"), 0);
  EXPECT_EQ(readBytes(ini),
            "[Window]\nDisplayOnConnect=1\n\n[settings]\nlast = x\n"
            "DisplayOnConnect=0\nTheme=dark\n[Other]\nkey=v\n\n[New]\na=b\n");

  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  EXPECT_EQ(userPreferencesPath(), ini);
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace scrivlet
