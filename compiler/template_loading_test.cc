// Reading template files into the macro store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "base/scratch_folder_test_util.h"
#include "base/text.h"
#include "compiler/macro_engine.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

class Loading : public ::testing::Test {
 protected:
  Loading() : progress(&sink), engine(elements, progress) {
    engine.askFileError = [this](const std::string& path,
                                 const std::string& operation, int error) {
      prompts += path + " " + operation + " " + std::to_string(error) + "\n";
      if (onPrompt) onPrompt();
      return answer;
    };
  }

  // Every definition but the character macros, one per line, CR shown as |.
  std::string definitions() const {
    std::string out;
    for (const std::string& name : engine.src.names()) {
      if (endsWith(name, "CHR") && name.find_first_not_of("0123456789") == name.size() - 3)
        continue;
      out += name + "=" + replaceAll(engine.getMacroBody(name), "\r", "|") +
             "\n";
    }
    return out;
  }

  store elements;
  RecordingSink sink;
  Progress progress;
  MacroEngine engine;
  std::string prompts;
  int answer = fileErrorRetry;
  std::function<void()> onPrompt;
};

TEST_F(Loading, ReadsDefinitionsAndSections) {
  const char* file =
      "Free text before anything\r\n"
      "   $MEMBER-EXT$ .htm\r\n"
      "$EMPTY$\r\n"
      "$SPACED$    text  \r\n"
      "$MY MACRO$ x\r\n"
      "$TITLE\r\n"
      "$scriv-index-body$ ignored text\r\n"
      "   three blanks $MEMBER-NAME$\r\n"
      "\ttab kept\r\n"
      "$END-SCRIV-INDEX-BODY$\r\n"
      "$end-other$\r\n"
      "  $end-scriv-index-body$  \r\n"
      "\t$IGNORED$ a tab is not a space\r\n"
      "$scriv-empty-body$\r\n"
      "$end-scriv-empty-body$\r\n"
      "$scriv-broken-body$\r\n"
      "never ends\r\n";
  EXPECT_EQ(engine.loadTemplateText(file, "t.scvt", false), 0);
  EXPECT_EQ(definitions(),
            "MEMBER-EXT=.htm\n"
            "EMPTY=\n"
            "SPACED=text  \n"
            "MY=MACRO$ x\n"
            "TITLE=\n"
            "scriv-index-body=   three blanks $MEMBER-NAME$|\ttab kept|"
            "$END-SCRIV-INDEX-BODY$|$end-other$\n"
            "scriv-empty-body=\n");
  EXPECT_EQ(sink.text(),
            "WARNING (config file): Wrong macro name $MY.\n"
            "WARNING (config file): Wrong macro name $TITLE.\n"
            "ERROR (config file): Error in configuration file t.scvt on line "
            "16. Terminating tag $end-scriv-broken-body$ missing.\n");
  EXPECT_EQ(prompts, "");
}

TEST_F(Loading, AcceptsEveryLineEndAndKeepsBytes) {
  EXPECT_EQ(engine.loadTemplateText("$A$ 1\n$B$ caf\xE9\r$scriv-x$\r\n\n"
                                    "body\n$end-scriv-x$",
                                    "t.scvt", false),
            0);
  EXPECT_EQ(definitions(), "A=1\nB=caf\xE9\nscriv-x=|body\n");
  EXPECT_EQ(engine.src.size(), 259u);
  EXPECT_EQ(engine.getMacroBody("65chr"), "A");
  EXPECT_EQ(engine.getMacroBody("0CHR"), std::string(1, '\0'));
  EXPECT_EQ(engine.getMacroBody("13CHR"), "\r");
  EXPECT_EQ(engine.getMacroBody("255CHR"), "\xFF");
  EXPECT_TRUE(engine.replaceTable.empty());
}

TEST_F(Loading, BuildsTheReplaceTableFromTokens) {
  ASSERT_EQ(engine.loadTemplateText(
                "$REPLACE-TABLE$ $60CHR$ &lt; $62CHR$  $38CHR$$38CHR$ $A$\r\n"
                "$A$ a$$",
                "t.scvt", false),
            0);
  EXPECT_EQ(engine.replaceTable.pairs(),
            (std::vector<std::string>{"<", "&lt;", ">", "", "&&", "a$$"}));
}

TEST_F(Loading, NamesDefinedTwiceGoToThePrompt) {
  const char* file = "$A$ first\r\n$a$ second\r\n$B$ b\r\n$65CHR$ x\r\n";
  EXPECT_EQ(engine.loadTemplateText(file, "t.scvt", false), 0);
  EXPECT_EQ(definitions(), "A=first\nB=b\n");
  EXPECT_EQ(engine.getMacroBody("65CHR"), "x");
  EXPECT_EQ(engine.getMacroBody("66CHR"), "B");
  EXPECT_EQ(prompts, "t.scvt reading 457\nt.scvt reading 457\n");

  prompts.clear();
  answer = fileErrorAbandon;
  EXPECT_EQ(engine.loadTemplateText(file, "t.scvt", false), 2);
  EXPECT_EQ(definitions(), "A=first\n");
  EXPECT_TRUE(progress.abortRequested);

  prompts.clear();
  EXPECT_EQ(engine.loadTemplateText(file, "t.scvt", true), 3);
  EXPECT_EQ(prompts, "");
}

TEST_F(Loading, FileErrorsAreRetriedOrAbandoned) {
  ScratchFolder scratch("scrivlet-loading");
  const std::filesystem::path& dir = scratch.folder();
  std::string path = (dir / "chm.scvt").string();

  EXPECT_EQ(engine.loadSrc(path, true), 2);
  EXPECT_EQ(prompts, "");

  answer = fileErrorAbandon;
  EXPECT_EQ(engine.loadSrc(path, false), 2);
  EXPECT_TRUE(progress.abortRequested);
  EXPECT_EQ(prompts, path + " reading 53\n");

  // Retry after the file appeared reads it.
  prompts.clear();
  progress.abortRequested = false;
  answer = fileErrorRetry;
  onPrompt = [&] { std::ofstream(path) << "$SPLIT$ 0\r\n"; };
  EXPECT_EQ(engine.loadSrc(path, false), 0);
  EXPECT_EQ(definitions(), "SPLIT=0\n");
  EXPECT_EQ(prompts, path + " reading 53\n");
  EXPECT_FALSE(progress.abortRequested);

  prompts.clear();
  answer = fileErrorSkip;
  EXPECT_EQ(engine.loadSrc((dir / "no" / "x.scvt").string(), false), 2);
  EXPECT_EQ(prompts, (dir / "no" / "x.scvt").string() + " reading 76\n");
}

}  // namespace
}  // namespace scrivlet
