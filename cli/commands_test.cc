// The elements, comment add and copy-code commands, run as a user runs them.
#include <gtest/gtest.h>

#include "cli/program_test_util.h"

namespace scrivlet {
namespace {

using testing::readFile;
using testing::runScrivlet;

const std::string kExample = std::string(SCRIVLET_SOURCE_DIR) + "/examples/Calc";

ScratchFolder copyOfExample() {
  ScratchFolder folder;
  std::filesystem::copy(kExample, folder.folder());
  return folder;
}

TEST(ElementsCommand, ListsWhatLoadingYields) {
  testing::ProgramRun run = runScrivlet("elements '" + kExample + "/Calc.vbp'");
  EXPECT_EQ(run.status, 0) << run.err;
  // Help numbers in loading order with their gaps (private members and the
  // standard module itself use none or leave one out), property procedures
  // on their own (Let before Get), and a public class variable as a pair.
  EXPECT_EQ(run.out,
            "100\tSmodule\tfrmCalc\t1\n"
            "101\tSmethod\tfrmCalc.ShowCalculator\t1\n"
            "103\tSmethod\tmodMath.QueryPerformanceCounter\t1\n"
            "104\tSmethod\tmodMath.QueryPerformanceFrequency\t0\n"
            "105\tSmethod\tmodMath.RoundHalfUp\t1\n"
            "106\tSmethod\tmodMath.FormatResult\t1\n"
            "107\tSmethod\tmodMath.StartTimer\t1\n"
            "108\tSmethod\tmodMath.ElapsedSeconds\t0\n"
            "109\tSmodule\tIOperation\t1\n"
            "110\tSmethod\tIOperation.Apply\t1\n"
            "111\tSpropGet\tIOperation.Symbol'get\t1\n"
            "112\tSmodule\tAddOperation\t1\n"
            "113\tSmodule\tCalculator\t1\n"
            "114\tSevent\tCalculator.ResultChanged\t1\n"
            "115\tSpropGet\tCalculator.Result'get\t1\n"
            "116\tSpropLet\tCalculator.Precision'let\t1\n"
            "117\tSpropGet\tCalculator.Precision'get\t1\n"
            "118\tSpropSet\tCalculator.History'set\t1\n"
            "119\tSpropGet\tCalculator.History'get\t1\n"
            "120\tSmethod\tCalculator.Apply\t1\n"
            "121\tSmethod\tCalculator.Clear\t1\n"
            "122\tSmodule\tHistory\t1\n"
            "124\tSpropGet\tHistory.MaxEntries'get\t1\n"
            "124\tSpropSet\tHistory.MaxEntries'set\t1\n"
            "125\tSevent\tHistory.Added\t1\n"
            "126\tSevent\tHistory.Cleared\t1\n"
            "127\tSmethod\tHistory.Add\t1\n"
            "128\tSmethod\tHistory.Clear\t1\n"
            "129\tSpropGet\tHistory.Count'get\t1\n"
            "130\tSpropGet\tHistory.Item'get\t1\n"
            "131\tSmethod\tHistory.Describe\t1\n"
            "132\tSpropGet\tHistory.Rounding'get\t1\n"
            // Enums and types come last: the help numbers above do not
            // move for them.
            "133\tSenum\tmodMath.RoundingMode\t1\n"
            "134\tStype\tmodMath.HistoryEntry\t1\n");
}

TEST(ElementsCommand, FollowsTheSettingsFile) {
  ScratchFolder folder = copyOfExample();
  std::ofstream(folder.path("Calc.scriv"), std::ios::binary)
      << "#Scrivlet Project Settings#\r\ncomObject = 0\r\ncomForm = 0\r\n"
         "comPublic = 0\r\ncomFriend = 1\r\ncomModules = calculator";
  testing::ProgramRun run = runScrivlet("elements '" + folder.path("Calc.vbp") + "'");
  EXPECT_EQ(run.out, "100\tSmethod\tCalculator.Restore\t0\n");
}

TEST(ElementsCommand, GroupsAndBadInput) {
  std::string corpora = SCRIVLET_CORPORA_DIR;
  std::string group = corpora + "/SimplyVBUnit/Examples/MovieTracker/MovieBusinessGroup.vbg";
  if (std::filesystem::exists(group)) {
    testing::ProgramRun run = runScrivlet("elements '" + group + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("# MovieBusinessTests\n", 0), 0u);  // line order
    EXPECT_NE(run.out.find("\n# MovieBusiness\n"), std::string::npos);
  }

  ScratchFolder folder;
  std::ofstream(folder.path("junk.vbp"), std::ios::binary) << std::string("\0\x01\xff garbage", 11);
  for (const std::string& input : {folder.path("missing.vbp"), folder.path("junk.vbp"), folder.path()}) {
    testing::ProgramRun run = runScrivlet("elements '" + input + "'");
    EXPECT_EQ(run.status, 1) << input;
    EXPECT_NE(run.err.find(input), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(runScrivlet("elements").status, 2);
}

TEST(CommentAddCommand, InsertsTheSkeletonAndNothingElse) {
  ScratchFolder folder = copyOfExample();
  std::string before = readFile(folder.path("modMath.bas"));
  // A line inside the procedure's body (the header line counts too).
  testing::ProgramRun run = runScrivlet("comment add '" + folder.path("modMath.bas") + ":113'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Added a comment skeleton for modMath.ElapsedSeconds (Smethod) to " +
                         (folder.path("modMath.bas")) + "\n");
  std::string declaration = "Public Function ElapsedSeconds() As Double\r\n";
  std::string expected = before;
  expected.insert(before.find(declaration),
                  "'**\r\n'\r\n'@return       Double.\r\n'@see          \r\n'@rem          \r\n");
  EXPECT_EQ(readFile(folder.path("modMath.bas")), expected);
  // No temporary file is left beside the module.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.folder()),
                          std::filesystem::directory_iterator()),
            7);

  testing::ProgramRun header = runScrivlet("comment add '" + folder.path("History.cls") + ":2'");
  EXPECT_EQ(header.status, 2);
  EXPECT_EQ(header.err, "scrivlet comment add: " + folder.path("History.cls") +
                            ": line 2 is in the module's header, which the code window does not show\n");
  testing::ProgramRun attribute = runScrivlet("comment add '" + folder.path("History.cls") + ":61'");
  EXPECT_EQ(attribute.status, 2);
  EXPECT_NE(attribute.err.find("line 61 is an attribute line"), std::string::npos) << attribute.err;
  EXPECT_EQ(runScrivlet("comment add '" + folder.path("History.cls") + "'").status, 2);
}

TEST(CommentAddCommand, RefusesWhereACommentExists) {
  ScratchFolder folder = copyOfExample();
  std::string module = folder.path("modMath.bas");
  std::string before = readFile(module);
  testing::ProgramRun refused = runScrivlet("comment add '" + module + ":13'");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "scrivlet comment add: " + module +
                             ": modMath.DEFAULT_PRECISION already has a comment (lines "
                             "10-12); nothing changed (--force adds another block)\n");
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(readFile(module), before);

  testing::ProgramRun forced = runScrivlet("comment add --force '" + module + ":13'");
  ASSERT_EQ(forced.status, 0) << forced.err;
  std::string expected = before;
  expected.insert(before.find("Public Const DEFAULT_PRECISION"), "'**\r\n'\r\n'@see\r\n");
  EXPECT_EQ(readFile(module), expected);
}

TEST(CopyCodeCommand, PrintsTheBlock) {
  std::string file = "'" + kExample + "/modMath.bas'";
  // Lines end as in a module file.
  EXPECT_EQ(runScrivlet("copy-code " + file + " 106").out,
            "'$CODE$\r\n'Public Sub StartTimer()\r\n'$END-CODE$\r\n");
  EXPECT_EQ(runScrivlet("copy-code " + file + " 107:5 108:37").out,
            "'$CODE$\r\n'If gTimerFrequency = 0 Then QueryPerformanceFrequency gTimerFrequency$EOL$\r\n"
            "'    QueryPerformanceCounter mStarted\r\n'$END-CODE$\r\n");
  // Without columns both ends are whole lines, in either order.
  std::string whole =
      "'$CODE$\r\n'    If gTimerFrequency = 0 Then QueryPerformanceFrequency gTimerFrequency$EOL$\r\n"
      "'    QueryPerformanceCounter mStarted\r\n'$END-CODE$\r\n";
  EXPECT_EQ(runScrivlet("copy-code " + file + " 107 108").out, whole);
  EXPECT_EQ(runScrivlet("copy-code " + file + " 108 107").out, whole);
  // Given end first, the selection is turned round.
  EXPECT_EQ(runScrivlet("copy-code " + file + " 108:37 107:5").out,
            runScrivlet("copy-code " + file + " 107:5 108:37").out);
}

// Mistakes get a way forward: the nearest command or option, a shipped
// template by its name, a file that is no template refused.
TEST(CommandLine, HelpsWithMistakesAndNames) {
  testing::ProgramRun typo = runScrivlet("elemnts x");
  EXPECT_EQ(typo.status, 2);
  EXPECT_NE(typo.err.find("there is no command \"elemnts\"; did you mean "
                          "\"elements\"?"),
            std::string::npos)
      << typo.err;
  testing::ProgramRun option = runScrivlet("compile --quite x.vbp");
  EXPECT_EQ(option.status, 2);
  EXPECT_NE(option.err.find("there is no option --quite; did you mean "
                            "--quiet?"),
            std::string::npos)
      << option.err;

  ScratchFolder dir = copyOfExample();
  testing::ProgramRun named = runScrivlet(
      "compile --quiet --template html '" + dir.path("Calc.vbp") +
      "' --output '" + dir.path("doc") + "'");
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_TRUE(std::filesystem::exists(dir.path("doc/Calc+index.htm")));

  testing::ProgramRun notTemplate =
      runScrivlet("template '" + dir.path("Calc.vbp") + "'");
  EXPECT_EQ(notTemplate.status, 1);
  EXPECT_NE(notTemplate.err.find("is not a template: it holds no section."),
            std::string::npos)
      << notTemplate.err;

  testing::ProgramRun version = runScrivlet("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("add-in folder: "), std::string::npos)
      << version.out;
}

}  // namespace
}  // namespace scrivlet
