#include "cli/comment_update_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "addin/settings_file.h"
#include "base/scratch_folder_test_util.h"
#include "base/text.h"
#include "comments/comment_generator.h"
#include "comments/comment_parser.h"
#include "platform/disk_code_module.h"

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
     "  '@param        old Required. Long. Gone now.",
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
    writeFile(folder_ / "Calc.vbp", kProject);
    writeFile(folder_ / "Calc.bas", kCalc);
    writeFile(folder_ / "Shape.cls", kShape);
  }
  int run(CommentUpdateRequest request) {
    out_.str("");
    err_.str("");
    return runCommentUpdate(request, out_, err_);
  }
  std::string path(const char* name) const { return (folder_ / name).string(); }

  ScratchFolder scratch_{"scrivlet-comment-update"};
  const fs::path& folder_ = scratch_.folder();
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
  const std::string kept =
      ": Calc.Scale: left unchanged: no parameter \"old\" in the declaration; "
      "its description would be lost\n";
  ASSERT_EQ(run(request), 0) << err_.str();
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalc);
  EXPECT_EQ(out_.str(),
            "--- " + path("Calc.bas") + "\n+++ " + path("Calc.bas") + "\n" +
                "@@ -2,9 +2,10 @@\n"
                " Option Explicit\n"
                " '**\n"
                " ' Adds.\n"
                "-'@param        a Required. Long. First.\n"
                "-'@param        b Required. Long. Second.\n"
                "-'@return       Long. The sum.\n"
                "+'@param        a Required. Double. First.\n"
                "+'@param        b Required. Double. Second.\n"
                "+'@param        c Optional. Double. Default value is 0.\n"
                "+'@return       Double. The sum.\n"
                " Public Function Add(ByVal a As Double, ByVal b As Double, _\n"
                "                     Optional ByVal c As Double = 0) As Double\n"
                " Attribute Add.VB_Description = \"Adds.\"\n"
                "--- " + path("Shape.cls") + "\n+++ " + path("Shape.cls") + "\n" +
                "@@ -7,12 +7,14 @@\n"
                " \n"
                " '**\n"
                " ' The width.\n"
                "-'@return       Long. In twips.\n"
                "+'@param        unit Long.\n"
                "+'@return       Single. In twips.\n"
                " Public Property Get Width(ByVal unit As Long) As Single\n"
                " End Property\n"
                " \n"
                " '**\n"
                " ' Sets the width.\n"
                "-'@param        v Long. New width.\n"
                "+'@param        unit Long.\n"
                "+'@param        v Single. New width.\n"
                " Public Property Let Width(ByVal unit As Long, ByVal v As Single)\n"
                " End Property\n");
  EXPECT_EQ(err_.str(), path("Calc.bas") + ":25" + kept +
                            "3 comments to update, 1 left unchanged\n");

  request.dryRun = false;
  request.check = true;
  EXPECT_EQ(run(request), 1);
  EXPECT_EQ(out_.str(), path("Calc.bas") + ":8: Calc.Add: out of date\n" +
                            path("Calc.bas") + ":25" + kept +
                            path("Shape.cls") + ":11: Shape.Width'get: out of date\n" +
                            path("Shape.cls") + ":17: Shape.Width'let: out of date\n" +
                            "3 comments out of date, 1 left unchanged\n");
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalc);

  request.check = false;
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
            at("Calc.bas", kCalcUpdated, "Public Function Add") + "Calc.Add\n" +
                path("Calc.bas") + ":26" + kept +
                at("Shape.cls", kShapeUpdated, "Public Property Get") +
                "Shape.Width'get\n" +
                at("Shape.cls", kShapeUpdated, "Public Property Let") +
                "Shape.Width'let\n" + "3 comments updated, 1 left unchanged\n");

  // Everything else is in line now: a second run changes nothing.
  ASSERT_EQ(run(request), 0);
  EXPECT_EQ(out_.str(), path("Calc.bas") + ":26" + kept +
                            "0 comments updated, 1 left unchanged\n");
  EXPECT_EQ(readFile(folder_ / "Calc.bas"), kCalcUpdated);

  // Once the user has dealt with the old parameter, nothing is out of date.
  writeFile(folder_ / "Calc.bas",
            replaceAll(kCalcUpdated, "  '@param        old Required. Long. Gone now.\r\n", ""));
  request.check = true;
  EXPECT_EQ(run(request), 0);
  EXPECT_EQ(out_.str(), "0 comments out of date\n");
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
  EXPECT_EQ(out_.str().substr(0, out_.str().find("@@")),
            "--- " + path("Calc.bas") + "\n+++ " + path("Calc.bas") + "\n");
  EXPECT_EQ(err_.str(), "");
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
  request.check = true;
  EXPECT_EQ(run(request), 0);
  request.target = path("Calc.bas") + ":29";
  EXPECT_EQ(run(request), 1);
  request.check = false;
  EXPECT_EQ(run(request), 1);
  EXPECT_EQ(out_.str(), path("Calc.bas") + ":26: Calc.Scale: left unchanged: no parameter "
                        "\"old\" in the declaration; its description would be lost\n");
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
                            ":18: Shape.Width'let\n");
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


// Real code bases, with VBCorLib's "''" blocks made documentation blocks.
class CommentUpdateCorpora : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path corpora(SCRIVLET_CORPORA_DIR);
    if (!fs::exists(corpora)) GTEST_SKIP() << "no corpora at " << corpora;
    // Each saved module is synced to disk; a RAM file system keeps that cheap.
    scratch_.emplace("scrivlet-comment-update-corpora",
                     fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                  : fs::path());
    folder_ = scratch_->folder();
    fs::copy(corpora, folder_, fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
      std::string ext = foldCase(entry.path().extension().string());
      if (ext == ".vbp") projects_.push_back(entry.path().string());
      if (ext != ".bas" && ext != ".cls" && ext != ".frm" && ext != ".ctl") continue;
      std::string bytes = readFile(entry.path());
      std::string opened = withDocumentationOpeners(bytes);
      if (opened != bytes) writeFile(entry.path(), opened);
      modules_[entry.path().string()] = opened;
    }
    std::sort(projects_.begin(), projects_.end());
  }
  // Each line that is exactly "''" after its indent becomes "'**".
  static std::string withDocumentationOpeners(const std::string& bytes) {
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
      std::size_t end = bytes.find('\n', at);
      end = end == std::string::npos ? bytes.size() : end + 1;
      std::string line = bytes.substr(at, end - at);
      std::size_t text = line.find_first_not_of(' ');
      std::size_t eol = line.find_first_of("\r\n");
      if (text != std::string::npos && line.compare(text, eol - text, "''") == 0 &&
          eol - text == 2)
        line.replace(text, 2, "'**");
      out += line;
      at = end;
    }
    return out;
  }

  void updateAll() {
    for (const std::string& project : projects_) {
      CommentUpdateRequest request;
      request.target = project;
      request.all = true;
      std::ostringstream out, err;
      EXPECT_EQ(runCommentUpdate(request, out, err), 0) << project << '\n'
                                                         << err.str();
    }
  }

  std::optional<ScratchFolder> scratch_;
  fs::path folder_;
  std::vector<std::string> projects_;
  std::map<std::string, std::string> modules_;
};

// The lines outside "@param" and "@return" runs of documentation blocks
// (the code included), and the parameter descriptions without their
// generated sentences, blanks and line breaks folded.
struct CommentLines {
  std::vector<std::string> outsideRuns;
  std::vector<std::string> userTexts;
  std::string commentText;
};

std::string foldedBlanks(const std::string& text) {
  std::string folded;
  for (char c : text) {
    bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!blank) folded += c;
    else if (!folded.empty() && folded.back() != ' ') folded += ' ';
  }
  return trim(folded);
}

CommentLines commentLinesOf(const std::string& bytes) {
  ProjectSettings settings;
  CommentParser tags(settings);
  tags.setComment({});
  CommentLines result;
  bool inBlock = false, inRun = false, inParam = false;
  std::string param;
  auto endParam = [&] {
    if (!inParam) return;
    std::string value = trim(param);
    std::size_t blank = value.find_first_of(" \t");
    std::string description = blank == std::string::npos ? "" : value.substr(blank);
    std::string user = foldedBlanks(userTextOf(trim(description)));
    if (!user.empty()) result.userTexts.push_back(user);
    inParam = false;
  };
  for (std::string line : split(replaceAll(bytes, "\r\n", "\n"), "\n")) {
    std::string text = trim(line);
    bool comment = startsWith(text, "'");
    std::string value = trim(text.substr(comment ? 1 : 0));
    if (startsWith(text, "'**")) {
      endParam();
      inBlock = true;
      inRun = false;
    } else if (inBlock && comment) {
      result.commentText += " " + value;
      if (tags.isTagLine(value)) {
        endParam();
        inRun = startsWith(value, "@param") || startsWith(value, "@return");
        inParam = startsWith(value, "@param");
        if (inParam) param = value.substr(6);
        if (inRun) continue;
      } else if (inRun) {
        if (inParam) param += " " + value;
        continue;
      }
    } else {
      endParam();
      inBlock = inRun = false;
    }
    result.outsideRuns.push_back(line);
  }
  endParam();
  result.commentText = foldedBlanks(result.commentText);
  return result;
}

TEST_F(CommentUpdateCorpora, UpdateIsLosslessAndIdempotent) {
  updateAll();
  std::map<std::string, std::string> once;
  std::size_t changed = 0;
  for (const auto& [file, before] : modules_) {
    once[file] = readFile(file);
    if (once[file] == before) continue;
    ++changed;
    CommentLines old = commentLinesOf(before);
    CommentLines now = commentLinesOf(once[file]);
    EXPECT_EQ(now.outsideRuns, old.outsideRuns) << file;
    for (const std::string& user : old.userTexts)
      EXPECT_NE(now.commentText.find(user), std::string::npos) << file << ": " << user;
  }
  EXPECT_GT(changed, 100u);

  updateAll();
  for (const auto& [file, bytes] : once) EXPECT_EQ(readFile(file), bytes) << file;
}

}  // namespace
}  // namespace scrivlet
