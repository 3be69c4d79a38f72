#include "platform/comment_update_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "addin/settings_file.h"
#include "platform/disk_code_module.h"
#include "source/text.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

std::string lines(std::initializer_list<const char*> list, const char* eol) {
  std::string text;
  for (const char* l : list) (text += l) += eol;
  return text;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// 1-based number of the first line of `text` that begins with `prefix`.
long lineOf(const std::string& text, const std::string& prefix) {
  std::vector<std::string> all = split(replaceAll(text, "\r\n", "\n"), "\n");
  for (std::size_t i = 0; i < all.size(); ++i)
    if (startsWith(all[i], prefix)) return static_cast<long>(i) + 1;
  return 0;
}

const std::string kProject = lines(
    {"Type=Exe", "Module=Calc; Calc.bas", "Class=Shape; Shape.cls",
     "Name=\"CalcProject\""},
    "\r\n");

const std::string kCalc = lines(
    {"Attribute VB_Name = \"Calc\"",
     "Option Explicit",
     "'**",
     "' Adds.",
     "'@param        a Required. Long. First.",
     "'@param        b Required. Long. Second.",
     "'@return       Long. The sum.",
     "Public Function Add(ByVal a As Double, ByVal b As Double, _",
     "                    Optional ByVal c As Double = 0) As Double",
     "Attribute Add.VB_Description = \"Adds.\"",
     "    Add = a + b + c",
     "End Function",
     "",
     "'**",
     "'@param        x Required. Long. Unchanged.",
     "Private Sub Keep(ByVal x As Long)",
     "End Sub",
     "",
     "Public Sub NoComment(ByVal y As Long)",
     "End Sub",
     "",
     "  '**",
     "  ' Scales \xe9verything.",
     "  '@param        f Required. Single. The factor.",
     "  '@param        old Required. Long. Gone now.",
     "  '@see          Calc.Add ",
     "",
     "  Public Sub Scale(ByVal f As Single)",
     "  End Sub"},
    "\r\n");

const std::string kCalcUpdated = lines(
    {"Attribute VB_Name = \"Calc\"",
     "Option Explicit",
     "'**",
     "' Adds.",
     "'@param        a Required. Double. First.",
     "'@param        b Required. Double. Second.",
     "'@param        c Optional. Double. Default value is 0.",
     "'@return       Double. The sum.",
     "Public Function Add(ByVal a As Double, ByVal b As Double, _",
     "                    Optional ByVal c As Double = 0) As Double",
     "Attribute Add.VB_Description = \"Adds.\"",
     "    Add = a + b + c",
     "End Function",
     "",
     "'**",
     "'@param        x Required. Long. Unchanged.",
     "Private Sub Keep(ByVal x As Long)",
     "End Sub",
     "",
     "Public Sub NoComment(ByVal y As Long)",
     "End Sub",
     "",
     "  '**",
     "  ' Scales \xe9verything.",
     "  '@param        f Required. Single. The factor.",
     "  '@see          Calc.Add ",
     "",
     "  Public Sub Scale(ByVal f As Single)",
     "  End Sub"},
    "\r\n");

// A class whose lines end in a line feed alone, without one after the last.
const std::string kShape =
    lines({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
           "Attribute VB_Name = \"Shape\"", "Option Explicit", "", "'**",
           "' The width.", "'@return       Long. In twips.",
           "Public Property Get Width(ByVal unit As Long) As Single",
           "End Property", "", "'**", "' Sets the width.",
           "'@param        v Long. New width.",
           "Public Property Let Width(ByVal unit As Long, ByVal v As Single)"},
          "\n") +
    "End Property";

const std::string kShapeUpdated =
    lines({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
           "Attribute VB_Name = \"Shape\"", "Option Explicit", "", "'**",
           "' The width.", "'@param        unit Long.",
           "'@return       Single. In twips.",
           "Public Property Get Width(ByVal unit As Long) As Single",
           "End Property", "", "'**", "' Sets the width.",
           "'@param        unit Long.", "'@param        v Single. New width.",
           "Public Property Let Width(ByVal unit As Long, ByVal v As Single)"},
          "\n") +
    "End Property";

class CommentUpdateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("scrivlet_comment_update_" +
               std::string(::testing::UnitTest::GetInstance()
                               ->current_test_info()
                               ->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    writeFile(folder_ / "Calc.vbp", kProject);
    writeFile(folder_ / "Calc.bas", kCalc);
    writeFile(folder_ / "Shape.cls", kShape);
  }
  void TearDown() override { fs::remove_all(folder_); }

  int run(CommentUpdateRequest request) {
    out_.str("");
    err_.str("");
    return runCommentUpdate(request, out_, err_);
  }
  std::string path(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST(FileLines, VisibleLinesBackToFileLines) {
  EXPECT_EQ(fileLineOfVisibleLine(kShape, 1), 6);  // under the header
  EXPECT_EQ(fileLineOfVisibleLine(kShape, 13), 18);
  EXPECT_EQ(fileLineOfVisibleLine(kShape, 14), -1);
  EXPECT_EQ(fileLineOfVisibleLine(kShape, 0), -1);
  // Lines after an attribute line under a continued declaration move down.
  EXPECT_EQ(fileLineOfVisibleLine(kCalc, 8), 9);
  EXPECT_EQ(fileLineOfVisibleLine(kCalc, 9), 11);
  EXPECT_EQ(fileLineOfVisibleLine("", 1), -1);
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  for (long line = 1; line <= module->CountOfLines(); ++line) {
    bool inHeader = false;
    EXPECT_EQ(module->visibleLineAt(fileLineOfVisibleLine(kCalc, line), inHeader),
              line);
  }
}

TEST_F(CommentUpdateCommand, AllChangesOnlyParameterLines) {
  CommentUpdateRequest request;
  request.target = path("Calc.vbp");
  request.all = true;
  request.dryRun = true;
  ASSERT_EQ(run(request), 0) << err_.str();
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalc);
  EXPECT_NE(out_.str().find("  '@param        f Required. Single. The factor.\n"),
            std::string::npos)
      << out_.str();

  request.dryRun = false;
  ASSERT_EQ(run(request), 0) << err_.str();
  EXPECT_EQ(err_.str(), "");
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalcUpdated);
  EXPECT_EQ(readFile(folder_ / "Shape.cls"), kShapeUpdated);
  EXPECT_EQ(readFile(folder_ / "Calc.vbp"), kProject);
  EXPECT_FALSE(fs::exists(folder_ / "Calc.scriv"));
  auto at = [&](const char* file, const std::string& text, const char* decl) {
    return path(file) + ":" + std::to_string(lineOf(text, decl)) + ": ";
  };
  EXPECT_EQ(out_.str(),
            at("Calc.bas", kCalcUpdated, "Public Function Add") +
                "Calc.Add: parameters updated\n" +
                at("Calc.bas", kCalcUpdated, "  Public Sub Scale") +
                "Calc.Scale: parameters updated\n" +
                at("Shape.cls", kShapeUpdated, "Public Property Get") +
                "Shape.Width'get: parameters updated\n" +
                at("Shape.cls", kShapeUpdated, "Public Property Let") +
                "Shape.Width'let: parameters updated\n");

  // Everything is in line now: a second run changes and reports nothing.
  ASSERT_EQ(run(request), 0);
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalcUpdated);
}

TEST_F(CommentUpdateCommand, OneElementByFileLine) {
  CommentUpdateRequest request;
  // A hidden attribute line names no line of the code window.
  request.target = path("Calc.bas") + ":10";
  EXPECT_EQ(run(request), 2);
  // A line of Add's body.
  request.target = path("Calc.bas") + ":11";
  request.dryRun = true;
  ASSERT_EQ(run(request), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            path("Calc.bas") + ":8: Calc.Add: parameters updated\n" +
                lines({"'**", "' Adds.",
                       "'@param        a Required. Double. First.",
                       "'@param        b Required. Double. Second.",
                       "'@param        c Optional. Double. Default value is 0.",
                       "'@return       Double. The sum."},
                      "\n"));
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalc);

  // The project's settings apply: without generated return lines the
  // existing "@return" stays as it is.
  ProjectSettings settings;
  settings.addReturn = false;
  writeFile(folder_ / "Calc.scriv", replaceAll(settingsText(settings), "\r", "\r\n"));
  request.dryRun = false;
  ASSERT_EQ(run(request), 0) << err_.str();
  std::string expected = kCalcUpdated;
  expected = replaceAll(expected, "'@return       Double. The sum.",
                        "'@return       Long. The sum.");
  std::string calc = readFile(folder_ / "Calc.bas");
  EXPECT_EQ(calc.substr(0, calc.find("End Function")),
            expected.substr(0, expected.find("End Function")));
  EXPECT_EQ(calc.substr(calc.find("End Function")),
            kCalc.substr(kCalc.find("End Function")));

  request.target = path("Calc.bas") + ":16";
  EXPECT_EQ(run(request), 0);
  EXPECT_EQ(out_.str(), path("Calc.bas") + ":17: Calc.Keep: up to date\n");
  request.target = path("Calc.bas") + ":20";
  EXPECT_EQ(run(request), 1);
  EXPECT_EQ(err_.str(), "scrivlet: " + path("Calc.bas") +
                            ":20: Calc.NoComment has no documentation comment\n");
  request.target = path("Shape.cls") + ":3";
  EXPECT_EQ(run(request), 2);
  request.target = path("Shape.cls") + ":99";
  EXPECT_EQ(run(request), 2);
  request.target = path("Shape.cls") + ":16";
  request.project = path("Other.vbp");
  EXPECT_EQ(run(request), 1);

  // A module that no project lists is read with the defaults.
  fs::create_directories(folder_ / "loose");
  writeFile(folder_ / "loose" / "Shape.cls", kShape);
  request.project.clear();
  request.target = (folder_ / "loose" / "Shape.cls").string() + ":16";
  ASSERT_EQ(run(request), 0) << err_.str();
  EXPECT_EQ(out_.str(), (folder_ / "loose" / "Shape.cls").string() +
                            ":18: Shape.Width'let: parameters updated\n");
  std::string loose = readFile(folder_ / "loose" / "Shape.cls");
  EXPECT_EQ(loose.substr(loose.find("'**\n' Sets")),
            kShapeUpdated.substr(kShapeUpdated.find("'**\n' Sets")));
}

TEST_F(CommentUpdateCommand, CommandLine) {
  std::string command = std::string(SCRIVLET_BINARY) + " comment update --all " +
                        path("Calc.vbp") + " > " + path("out.txt") + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << readFile(folder_ / "out.txt");
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalcUpdated);
  command = std::string(SCRIVLET_BINARY) + " comment update " + path("Calc.bas") +
            " > " + path("out.txt") + " 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace scrivlet
