#include "addin/compile_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/trusted_templates.h"
#include "compiler/disk_project_test_util.h"

namespace scrivlet {
namespace {

// A log of what the session asks of its front end, in order.
struct FrontEnd {
  std::string log;
  void attach(CompileSession& session) {
    session.mayRunCommands = [this](const std::string& templatePath) {
      log += "may run " + templatePath + "?\n";
      return false;
    };
    session.runProcess = [this](const std::string&, const std::string&,
                                Progress&, const auto&) {
      log += "ran a program\n";
      return true;
    };
    session.saveChanged = [this] {
      log += "save\n";
      return std::vector<std::string>{"cannot write P.vbp"};
    };
  }
};

// Two projects of a group, each with a class, and a template that writes a
// page per project and has one after-compile command.
void writeGroup(const ScratchFolder& dir) {
  dir.write("G.vbg", crlf({"VBGROUP 5.0", "StartupProject=A.vbp",
                           "Project=B.vbp"}));
  for (const std::string project : {"A", "B"}) {
    dir.write(project + ".vbp",
              crlf({"Type=Exe", "Class=C" + project + "; C" + project + ".cls",
                    "Name=\"" + project + "\""}));
    dir.write("C" + project + ".cls",
              classFile("C" + project, crlf({"Option Explicit"})));
  }
  dir.write("t.scvt",
            "$PROJECT-EXT$ .txt\n$scriv-project-body$\nproject "
            "$PROJECT-NAME$\n$end-scriv-project-body$\n$scriv-exec-after$\n"
            "echo done\n$end-scriv-exec-after$\n");
}

TEST(CompileSession, AGroupCompilesEveryProjectThenSavesOnce) {
  ScratchFolder dir;
  writeGroup(dir);
  std::unique_ptr<DiskVBE> vbe = openProject(dir.path("G.vbg"));
  ASSERT_TRUE(vbe);
  DiskFileSystem disk;
  CancellingBox box;
  Progress progress;
  FileServices services{disk, box, progress};
  CompileSession session(*vbe, services, dir.path("addin"));
  FrontEnd frontEnd;
  frontEnd.attach(session);
  session.group = true;
  session.templateFile = dir.path("t.scvt");
  session.outputFolder = dir.path("doc");
  session.keepLastModel = true;

  EXPECT_EQ(session.run(), CompileStop::none);
  const std::string ask = "may run " + dir.path("t.scvt") + "?\n";
  EXPECT_EQ(frontEnd.log, ask + ask + "save\n");
  EXPECT_EQ(dir.read("doc/A.txt"), "project A");
  EXPECT_EQ(dir.read("doc/B.txt"), "project B");
  // Each project's pages add to one count; both projects write the
  // group's own two files.
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path("doc")))
    files += entry.is_regular_file();
  EXPECT_EQ(session.filesWritten(), files + 2);
  EXPECT_EQ(session.saveFailures(),
            std::vector<std::string>{"cannot write P.vbp"});
  EXPECT_FALSE(session.failed());
  CompiledModel model = session.takeLastModel();
  EXPECT_TRUE(model.elements && model.engine && model.driver);
}

TEST(CompileSession, AStopSavesNothingAndNamesItsCause) {
  ScratchFolder dir;
  writeGroup(dir);
  dir.write("file", "not a folder");
  struct Case {
    const char* what;
    std::string templateFile, outputFolder;
    bool interrupt;
    CompileStop stop;
    std::string stopPath;
  } cases[] = {
      {"no template", dir.path("gone.scvt"), dir.path("doc"), false,
       CompileStop::templateUnreadable, dir.path("gone.scvt")},
      {"a file for a folder", dir.path("t.scvt"), dir.path("file"), false,
       CompileStop::outputIsAFile, dir.path("file")},
      {"an interrupt", dir.path("t.scvt"), dir.path("doc"), true,
       CompileStop::aborted, ""},
  };
  for (const Case& c : cases) {
    std::unique_ptr<DiskVBE> vbe = openProject(dir.path("G.vbg"));
    ASSERT_TRUE(vbe);
    DiskFileSystem disk;
    CancellingBox box;
    Progress progress;
    FileServices services{disk, box, progress};
    CompileSession session(*vbe, services, dir.path("addin"));
    FrontEnd frontEnd;
    frontEnd.attach(session);
    session.group = true;
    session.templateFile = c.templateFile;
    session.outputFolder = c.outputFolder;
    session.interrupted = [&c] { return c.interrupt; };
    EXPECT_EQ(session.run(), c.stop) << c.what;
    EXPECT_EQ(session.stopPath(), c.stopPath) << c.what;
    EXPECT_EQ(frontEnd.log, "") << c.what;
    EXPECT_TRUE(session.saveFailures().empty()) << c.what;
  }
}

TEST(TemplateTrust, ShippedGivenAllowedOrListedTemplatesMayRunCommands) {
  ScratchFolder dir;
  dir.write("addin/Templates/html.scvt", "shipped\n");
  dir.write("own.scvt", "the project's own\n");
  TemplateTrust trust{dir.path("addin"), dir.path("trusted"), false, false};
  EXPECT_TRUE(trust.mayRunCommands(dir.path("addin/Templates/html.scvt")));
  EXPECT_FALSE(trust.mayRunCommands(dir.path("own.scvt")));
  std::string error;
  ASSERT_TRUE(trustTemplate(dir.path("trusted"), dir.path("own.scvt"), error))
      << error;
  EXPECT_TRUE(trust.mayRunCommands(dir.path("own.scvt")));
  // A change since it was trusted takes the trust away.
  dir.write("own.scvt", "changed by a pull\n");
  EXPECT_FALSE(trust.mayRunCommands(dir.path("own.scvt")));
  for (TemplateTrust forRun : {TemplateTrust{dir.path("addin"), dir.path("trusted"), true, false},
                               TemplateTrust{dir.path("addin"), dir.path("trusted"), false, true}})
    EXPECT_TRUE(forRun.mayRunCommands(dir.path("own.scvt")));
}

}  // namespace
}  // namespace scrivlet
