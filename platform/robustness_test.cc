// Projects and modules as people leave them lying around: files that are
// not what the project file says, lines of megabytes, binary garbage,
// devices, names that are no names. Each must load with a message, never a
// crash, a hang or a file read without end.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "base/file_system.h"
#include "base/scratch_folder_test_util.h"
#include "base/progress.h"
#include "cli/module_target.h"
#include "compiler/macro_engine.h"
#include "platform/disk_code_module.h"
#include "platform/disk_vbe.h"
#include "source/project_loader.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

std::string garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Every module with code is documented with every kind of member admitted;
// answers the number of elements loaded.
std::size_t loadEverything(VBProject& project) {
  ProjectSettings settings;
  settings.comPrivate = settings.comFriend = settings.comVariable =
      settings.comConstant = settings.comStdModule = true;
  for (VBComponent* component : project.VBComponents())
    if (CodeModule* code = component->CodeModule())
      settings.selectedModules.add(component->Name(), code);
  store elements;
  Progress progress;
  ProjectLoader(elements, settings, progress, nullptr).loadProject();
  return elements.all.size();
}

TEST(Robustness, HostileModulesLoadWithMessages) {
  ScratchFolder dir;
  const std::string tenMegabytes(10 * 1024 * 1024, 'x');
  std::string longDeclaration = "Attribute VB_Name = \"Long\"\r\nPublic Sub A(";
  while (longDeclaration.size() < 10 * 1024 * 1024)
    longDeclaration += "ByVal b As Long, ";
  dir.write("Calc.vbp",
            "Type=Exe\r\n"
            "Module=Huge; huge.bas\r\n"
            "Module=Long; long.bas\r\n"
            "Module=Garbage; garbage.bas\r\n"
            "Module=Self; Calc.vbp\r\n"
            "Class=Folder; sub\r\n"
            "Module=Device; /dev/zero\r\n"
            "Class=Odd; odd.cls\r\n"
            "Module=Good; good.bas\r\n"
            "Name=\"Calc\"\r\n");
  dir.write("huge.bas", tenMegabytes);
  dir.write("long.bas", longDeclaration);
  dir.write("garbage.bas", garbage(1 << 16, 7));
  fs::create_directory(dir.path("sub"));
  dir.write("odd.cls", "Attribute VB_Name = \"a b/..\"\r\nPublic x As Long\r\n");
  dir.write("good.bas", "Attribute VB_Name = \"Good\"\r\nPublic Sub Go()\r\n"
                        "End Sub\r\n");

  std::string error;
  auto vbe = openProjectOrGroup(dir.path("Calc.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  EXPECT_EQ(vbe->loadMessages,
            (std::vector<std::string>{
                "\"" + dir.path("sub") +
                    "\" is a folder, not a file; Folder stays in the project "
                    "without its code",
                "\"/dev/zero\" is not a regular file; Device stays in the "
                "project without its code",
                "Module name \"a b/..\" in \"" + dir.path("odd.cls") +
                    "\" is not a valid name; the module stays in the project "
                    "without its code"}));
  VBProject& project = *vbe->ActiveVBProject();
  std::string names;
  for (VBComponent* component : project.VBComponents())
    names += component->Name() + (component->CodeModule() ? "+ " : " ");
  EXPECT_EQ(names, "Huge+ Long+ Garbage+ Self+ Folder Device a b/.. Good+ ");

  CodeModule& huge = *project.VBComponents()[0]->CodeModule();
  EXPECT_EQ(huge.CountOfLines(), 1);
  EXPECT_EQ(huge.Lines(1, 1), tenMegabytes);
  CodeModule& longModule = *project.VBComponents()[1]->CodeModule();
  ASSERT_EQ(longModule.Members().size(), 1u);
  EXPECT_EQ(longModule.Members()[0]->Name(), "A");

  // The project module named Self is the project file read as a module: it
  // has no members but loads. Good's one method and the module elements
  // are documented, whatever the others hold.
  EXPECT_GE(loadEverything(project), 2u);
}

TEST(Robustness, GroupsThatNameThemselvesOrFoldersOpenWhatTheyCan) {
  ScratchFolder dir;
  dir.write("A.vbp", "Type=Exe\r\nName=\"A\"\r\n");
  fs::create_directory(dir.path("B.vbp"));
  dir.write("All.vbg", "VBGROUP 5.0\r\nProject=All.vbg\r\nProject=B.vbp\r\n"
                       "StartupProject=A.vbp\r\nProject=A.vbp\r\n");
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("All.vbg"), error);
  ASSERT_TRUE(vbe) << error;
  ASSERT_EQ(vbe->VBProjects().size(), 1u);
  EXPECT_EQ(vbe->ActiveVBProject()->Name(), "A");
  EXPECT_EQ(vbe->loadMessages,
            (std::vector<std::string>{
                "\"" + dir.path("All.vbg") +
                    "\" is not a Visual Basic project file",
                "\"" + dir.path("B.vbp") + "\" is a folder, not a file",
                "\"" + dir.path("A.vbp") +
                    "\" is named twice in the group; it is opened once"}));

  // A project file that is a device or a pipe is refused, not read forever.
  ASSERT_EQ(::mkfifo(dir.path("Pipe.vbp").c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), dir.path("Pipe.vbp")}) {
    EXPECT_FALSE(openProjectOrGroup(path, error));
    EXPECT_EQ(error, "\"" + path + "\" is not a regular file");
  }
}

// A settings file, a template or a loose module named by a pipe or a
// device fails with an error at once: the open does not wait for a writer
// and nothing is read without end.
TEST(Robustness, OtherReadersRefuseDevicesPipesAndFolders) {
  ScratchFolder dir;
  ASSERT_EQ(::mkfifo(dir.path("pipe").c_str(), 0600), 0);
  fs::create_directory(dir.path("folder"));
  DiskFileSystem files;
  std::string bytes = "old";
  EXPECT_EQ(files.readFile(dir.path("pipe"), bytes), fileError::deviceUnavailable);
  EXPECT_EQ(files.readFile("/dev/zero", bytes), fileError::deviceUnavailable);
  EXPECT_EQ(files.readFile(dir.path("folder"), bytes), fileError::badFileName);
  EXPECT_EQ(bytes, "");

  store elements;
  Progress progress(nullptr);
  MacroEngine engine(elements, progress);
  int askedWith = 0;
  engine.askFileError = [&](const std::string&, const std::string&, int error) {
    askedWith = error;
    return 1;
  };
  EXPECT_EQ(engine.loadSrc(dir.path("pipe"), false), 2);
  EXPECT_EQ(askedWith, fileError::deviceUnavailable);

  for (const std::string& path : {std::string("/dev/zero"), dir.path("pipe")}) {
    ModuleTarget target;
    std::string error;
    EXPECT_FALSE(openModuleTarget(path, "", target, error));
    EXPECT_EQ(error, "\"" + path + "\" is not a module file");
  }
}

// Any bytes at all as a module: the queries of the loader answer within the
// module's lines.
TEST(Robustness, GarbageModulesAnswerEveryQuery) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    auto m = DiskCodeModule::fromText("G", vbext_ct_ClassModule,
                                      garbage(4096, seed));
    const long count = m->CountOfLines();
    EXPECT_LE(m->CountOfDeclarationLines(), count);
    for (long line = 1; line <= count; ++line) {
      int kind = 0;
      std::string proc = m->ProcOfLine(line, kind);
      if (!proc.empty()) {
        EXPECT_LE(m->ProcBodyLine(proc, kind), count);
      }
    }
  }
}

}  // namespace
}  // namespace scrivlet
