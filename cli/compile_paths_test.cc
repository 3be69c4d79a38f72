// The folders of a project's settings, as users name projects: from the
// project's folder, from above it, relative and absolute; and a settings
// file that travels with the project to another machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/program_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::readFile;
using testing::runScrivletIn;

const fs::path kExample = fs::path(SCRIVLET_SOURCE_DIR) / "examples/Calc";

TEST(CompilePaths, TheProjectsFolderIsTheSameHoweverTheProjectIsNamed) {
  ScratchFolder dir;
  fs::copy(kExample, dir.folder() / "Calc");
  const std::string project = dir.path("Calc");
  ProgramRun set = runScrivletIn(
      project, "settings Calc.vbp --set templatePath=html.scvt "
               "--set outputPath=docs/api");
  ASSERT_EQ(set.status, 0) << set.err;
  // Stored relative to the project, the shipped templates as empty.
  const std::string saved = readFile(project + "/Calc.scriv");
  EXPECT_NE(saved.find("\r\noutputPath = docs/api\r\ntemplateFolder = \r\n"
                       "templatePath = html.scvt\r\n"),
            std::string::npos)
      << saved;

  const std::pair<std::string, std::string> ways[] = {
      {project, "Calc.vbp"},
      {project, "./Calc.vbp"},
      {dir.path(), "Calc/Calc.vbp"},
      {project + "/docs", "../Calc.vbp"},
      {"/", project + "/Calc.vbp"}};
  fs::create_directories(project + "/docs");
  for (const auto& [folder, name] : ways) {
    SCOPED_TRACE(folder + " " + name);
    fs::remove_all(project + "/docs/api");
    ProgramRun run = runScrivletIn(folder, "compile --quiet " + name);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(fs::exists(project + "/docs/api/Calc.htm"));
  }
  EXPECT_EQ(readFile(project + "/Calc.scriv"), saved);

  // Copied with the project to another folder, the settings work unchanged.
  fs::copy(project, dir.path("moved"), fs::copy_options::recursive);
  fs::remove_all(dir.path("moved/docs"));
  ProgramRun moved = runScrivletIn(dir.path("moved"), "compile --quiet Calc.vbp");
  EXPECT_EQ(moved.status, 0) << moved.err;
  EXPECT_TRUE(fs::exists(dir.path("moved/docs/api/Calc.htm")));
  EXPECT_EQ(readFile(dir.path("moved/Calc.scriv")), saved);
}

// The README's CI script, as a CI job runs it: it publishes a clean build,
// and a warning fails the job and leaves the published pages alone.
TEST(CompilePaths, TheCiScriptPublishesOnlyACleanBuild) {
  const std::string script =
      std::string(SCRIVLET_SOURCE_DIR) + "/docs/ci-example.sh";
  const std::string readme =
      readFile(std::string(SCRIVLET_SOURCE_DIR) + "/README.md");
  EXPECT_NE(readme.find("```sh\n" + readFile(script) + "```"),
            std::string::npos);
  ScratchFolder dir;
  fs::copy(kExample, dir.folder() / "Calc");
  const std::string run = "SCRIVLET='" + std::string(SCRIVLET_BINARY) +
                          "' sh '" + script + "' '" + dir.path("Calc/Calc.vbp") +
                          "' '" + dir.path("site") + "'";
  ProgramRun clean = runScrivletIn("", "--version >/dev/null; " + run);
  EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
  EXPECT_TRUE(fs::exists(dir.path("site/Calc.htm")));
  EXPECT_NE(clean.out.find("Documentation published to " + dir.path("site")),
            std::string::npos)
      << clean.out;

  // A dead link in a comment is a warning, which fails the job.
  std::string calculator = readFile(dir.path("Calc/Calculator.cls"));
  const std::size_t comment = calculator.find("'**");
  ASSERT_NE(comment, std::string::npos);
  calculator.insert(comment + 5, "'@see NoSuchModule\r\n");
  std::ofstream(dir.path("Calc/Calculator.cls"), std::ios::binary) << calculator;
  fs::remove(dir.path("site/Calc.htm"));
  ProgramRun warned = runScrivletIn("", "--version >/dev/null; " + run);
  EXPECT_EQ(warned.status, 1) << warned.out << warned.err;
  EXPECT_FALSE(fs::exists(dir.path("site/Calc.htm")));
  EXPECT_TRUE(fs::exists(dir.path("site/Calculator.htm")));
}

// A warning from a comment names its module file and line, as compilers
// do; as JSON it is one object a line, for editors and CI.
TEST(CompilePaths, WarningsNameTheirPlace) {
  ScratchFolder dir;
  fs::copy(kExample, dir.folder() / "Calc");
  std::string calculator = readFile(dir.path("Calc/Calculator.cls"));
  const std::string declaration = "Public Function Apply(";
  const std::size_t at = calculator.find(declaration);
  ASSERT_NE(at, std::string::npos);
  calculator.insert(at, "'@see NoSuchModule\r\n");
  std::ofstream(dir.path("Calc/Calculator.cls"), std::ios::binary) << calculator;
  const long line = static_cast<long>(
      std::count(calculator.begin(), calculator.begin() +
                     static_cast<long>(at) + 20, '\n') + 1);

  ProgramRun text = runScrivletIn(dir.path("Calc"),
                                  "compile --quiet --template html Calc.vbp");
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Calculator.cls:" + std::to_string(line) +
                          ": Warning: The dead link 'NoSuchModule' was found "
                          "in 'Apply' member of 'Calculator' module.\n"),
            std::string::npos)
      << text.out;

  ProgramRun json = runScrivletIn(
      dir.path("Calc"), "compile --messages=json --template html Calc.vbp");
  EXPECT_NE(json.out.find("{\"file\":\"Calculator.cls\",\"line\":" +
                          std::to_string(line) +
                          ",\"severity\":\"warning\",\"text\":\"Warning: The "
                          "dead link 'NoSuchModule' was found in 'Apply' member "
                          "of 'Calculator' module.\"}\n"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("{\"severity\":\"note\",\"text\":\"Project: "
                          "Calc\"}\n"),
            std::string::npos)
      << json.out;
}

}  // namespace
}  // namespace scrivlet
