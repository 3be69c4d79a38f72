#include "compiler/macro_engine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>

#include "base/text.h"
#include "compiler/fake_elements.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

struct Example {
  std::string title;
  std::string templateText;
  // Lists the compiler would set: name, items.
  std::vector<std::pair<std::string, MacroList>> lists;
  std::string expected;
  std::string messages;
};

// The tab and the CR inside a line of the example files, written visibly.
std::string unescape(std::string line) {
  return replaceAll(replaceAll(line, "→", "\t"), "⏎", "\r");
}

// "%list PARAM-LIST: a⏎first ; b⏎second" sets PARAM-LIST to two items.
bool readListLine(const std::string& line, Example& e) {
  if (!startsWith(line, "%list ")) return false;
  std::size_t colon = line.find(':');
  MacroList items;
  std::string rest = line.substr(colon + 1);
  if (!trim(rest).empty())
    for (const std::string& item : split(rest, " ; "))
      items.push_back(unescape(trim(item)));
  e.lists.emplace_back(line.substr(6, colon - 6), items);
  return true;
}

std::vector<Example> readExamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Example> examples;
  std::string line;
  const std::string fence = "````````";
  while (std::getline(in, line)) {
    if (!startsWith(line, fence + " example ")) continue;
    Example e;
    e.title = line.substr(fence.size() + 9);
    std::vector<std::string> parts[3];
    int part = 0;
    while (std::getline(in, line) && line != fence) {
      if (line == "." && part < 2) {
        ++part;
        continue;
      }
      if (part == 0 && readListLine(line, e)) continue;
      parts[part].push_back(unescape(line));
    }
    e.templateText = join(parts[0], "\r\n");
    e.expected = join(parts[1], "\r");
    for (const std::string& m : parts[2]) e.messages += m + "\n";
    examples.push_back(e);
  }
  return examples;
}

class Engine {
 public:
  Engine() : progress(&sink), engine(elements, progress) {}
  store elements;
  RecordingSink sink;
  Progress progress;
  MacroEngine engine;
};

TEST(MacroEngine, ExpandsTheExampleTemplates) {
  std::vector<Example> examples = readExamples(
      std::string(SCRIVLET_SOURCE_DIR) + "/compiler/macro_engine_examples.txt");
  ASSERT_GE(examples.size(), 15u);
  for (const Example& e : examples) {
    SCOPED_TRACE(e.title);
    Engine t;
    ASSERT_EQ(t.engine.loadTemplateText(e.templateText, "t.scvt", false), 0);
    for (const auto& [name, items] : e.lists)
      t.engine.setMacroValue(name, makeList(items));
    EXPECT_EQ(t.engine.evaluateMacro("scriv-test", false), e.expected);
    EXPECT_EQ(t.sink.text(), e.messages);
  }
}

TEST(MacroEngine, NestedEvaluationKeepsDoubledDollarsAndListsGiveTheirName) {
  Engine t;
  t.engine.setMacroValue("A", std::string("x$$y"));
  t.engine.setMacroValue("SEE-LINK-LIST", makeList({"Class1\r"}));
  t.engine.setMacroValue("NOTHING", MacroListPtr());
  EXPECT_EQ(t.engine.evaluateMacro("A", true), "x$$y");
  EXPECT_EQ(t.engine.evaluateMacro("A", false), "x$y");
  EXPECT_EQ(t.engine.evaluateMacro("see-link-list", false), "see-link-list");
  EXPECT_EQ(t.engine.evaluateMacro("NOTHING", false), "$NOTHING$");
  EXPECT_EQ(t.engine.evaluateMacro("B", false), "$B$");
  EXPECT_EQ(t.engine.getMacroBody("a"), "x$$y");
  EXPECT_EQ(t.engine.getMacroBody("SEE-LINK-LIST"), "SEE-LINK-LIST");
  EXPECT_EQ(t.engine.getMacroBody("B"), "$B$");
  t.engine.setMacroValue("a", std::string("new"));
  EXPECT_EQ(t.engine.evaluateMacro("A", false), "new");
}

// For the after-compile commands, whatever the project supplied (names,
// paths, list items; through template macros too) reaches the shell as a
// variable reference, never as text the shell would read; the template's
// own text, its character macros and "$$" stay as they are.
TEST(MacroEngine, ForTheShellProjectValuesBecomeVariableReferences) {
  Engine t;
  ASSERT_EQ(t.engine.loadTemplateText(
                "$HHC$ hhc\n"
                "$HHP$ $OUTPUT-PATH$/$PROJECT-NAME$.hhp\n"
                "$PROJECT-NAME$ template's own\n"
                "$scriv-exec-after$\n"
                "$HHC$ \"$HHP$\" $$HOME\n"
                "cp \"$SCRIV-PATH$/a\" .\n"
                "$DOLIST$ $GROUP-PROJECTS-LIST$\n"
                "x \"$LIST-ITEM-FILE$\"$END-DOLIST$\n"
                "$end-scriv-exec-after$\n",
                "t.scvt", false),
            0);
  t.engine.setMacroValue("OUTPUT-PATH", std::string("/doc/$$(id)"));
  t.engine.setMacroValue("PROJECT-NAME", std::string("Calc`id`"));
  t.engine.setMacroValue("SCRIV-PATH", std::string("/opt/s"));
  t.engine.setMacroValue("GROUP-PROJECTS-LIST",
                         makeList({"\"B;rm\r", "\"Calc\r"}));
  ShellEnvironment environment;
  EXPECT_EQ(t.engine.evaluateForShell("scriv-exec-after", environment),
            "hhc \"${SCRIV_OUTPUT_PATH}/${SCRIV_PROJECT_NAME}.hhp\" $HOME\r"
            "cp \"${SCRIV_PATH}/a\" .\r"
            "x \"${SCRIV_LIST_ITEM_FILE}\""
            "x \"${SCRIV_LIST_ITEM_FILE_2}\"");
  EXPECT_EQ(environment,
            (ShellEnvironment{{"SCRIV_OUTPUT_PATH", "/doc/$(id)"},
                              {"SCRIV_PROJECT_NAME", "Calc`id`"},
                              {"SCRIV_PATH", "/opt/s"},
                              {"SCRIV_LIST_ITEM_FILE", "B;rm"},
                              {"SCRIV_LIST_ITEM_FILE_2", "Calc"}}));
  // Outside the shell the same macros expand in place, as before.
  EXPECT_EQ(t.engine.evaluateMacro("HHP", false), "/doc/$(id)/Calc`id`.hhp");
}

// A "$" that starts no reference is text in what the project wrote (VB's
// Left$(s, 3), a price): it comes through as written, without a warning,
// and references after it still work. In the template's own text it is
// still a wrong name.
TEST(MacroEngine, ADollarInTheProjectsTextIsText) {
  Engine t;
  ASSERT_EQ(t.engine.loadTemplateText(
                "$X$ x\n$scriv-test$\n[$MEMBER-DESCRIPTION$]\n"
                "$end-scriv-test$\n$scriv-bad$\n$Y z\n$end-scriv-bad$\n",
                "t.scvt", false),
            0);
  t.engine.setMacroValue(
      "MEMBER-DESCRIPTION",
      std::string("Left$(s, 3), Chr$(13)\rUCase$(Obj)) costs $50 $X$ $"));
  EXPECT_EQ(t.engine.evaluateMacro("scriv-test", false),
            "[Left$(s, 3), Chr$(13)\rUCase$(Obj)) costs $50 x $]");
  EXPECT_EQ(t.sink.text(), "");
  EXPECT_EQ(t.engine.evaluateMacro("scriv-bad", false), "$Y$ z");
  EXPECT_EQ(t.sink.text(), "WARNING (config file): Wrong macro name $Y.\n");
}

// A stored text is read once; every expansion still reports what is wrong
// in it, takes the branch its condition gives now, and a new text replaces
// the old one.
TEST(MacroEngine, ATextReadOnceBehavesAsReadAnewEachTime) {
  Engine t;
  ASSERT_EQ(t.engine.loadTemplateText(
                "$scriv-page$\n<$BAD x>$IFNOTEMPTY$ $V$\nfull $V$"
                "$ELSEIF$empty$END-IFNOTEMPTY$\n$end-scriv-page$\n",
                "t.scvt", false),
            0);
  t.sink.messages.clear();
  EXPECT_EQ(t.engine.evaluateMacro("scriv-page", false), "<$BAD$ x>empty");
  t.engine.setMacroValue("V", std::string("1"));
  EXPECT_EQ(t.engine.evaluateMacro("scriv-page", false), "<$BAD$ x>full 1");
  EXPECT_EQ(t.sink.text(),
            "WARNING (config file): Wrong macro name $BAD.\n"
            "WARNING (config file): Wrong macro name $BAD.\n");
  t.engine.setMacroValue("SCRIV-page", std::string("$V$$V$"));
  EXPECT_EQ(t.engine.evaluateMacro("scriv-page", false), "11");
}

TEST(MacroEngine, CounterOverflowEndsTheEvaluationInProgress) {
  Engine t;
  t.engine.setMacroValue("IDS", std::string("a $NEXT-ID$"));
  t.engine.setMacroValue("OUTER", std::string("[$IDS$]"));
  t.engine.idCounter = 2147483647;
  EXPECT_EQ(t.engine.evaluateMacro("OUTER", false), "[$IDS$]");
  t.engine.setMacroValue("DOWN", std::string("$DEC-COUNTER$x"));
  t.engine.generalCounter = -2147483647 - 1;
  EXPECT_EQ(t.engine.evaluateMacro("DOWN", false), "$DOWN$");
  t.engine.resetEngineState();
  EXPECT_EQ(t.engine.evaluateMacro("OUTER", false), "[a 1]");

  // Inside a loop the whole loop gives nothing, items done before included.
  t.engine.setMacroValue("SEE-LINK-LIST", makeList({"\"x\r", "\"y\r"}));
  t.engine.setMacroValue(
      "LOOP", std::string("<$DOLIST$ $SEE-LINK-LIST$\r$LIST-ITEM$$NEXT-ID$"
                          "$END-DOLIST$>"));
  t.engine.idCounter = 2147483646;
  EXPECT_EQ(t.engine.evaluateMacro("LOOP", false), "<>");
}

TEST(MacroEngine, ReplaceStringsTakesPairsInOrder) {
  EXPECT_EQ(MacroEngine::replaceStrings("a<B>b", {"<", "&lt;", "b", "[b]", "x"}),
            "a&lt;[b]>[b]");
  EXPECT_EQ(MacroEngine::replaceStrings("\xC0\xE0", {"\xE0", "a"}), "aa");
  EXPECT_EQ(MacroEngine::replaceStrings("abc", {"", "x"}), "abc");
  // Pairs that cannot act on one another's work go in one pass.
  EXPECT_EQ(MacroEngine::replaceStrings(
                "a<b & \"C\" >\r\nZz",
                {"&", "&amp;", "<", "&lt;", ">", "&gt;", "\"", "&quot;",
                 "\r\n", "<br>", "zz", "x"}),
            "a&lt;b &amp; &quot;C&quot; &gt;<br>x");
  EXPECT_EQ(MacroEngine::replaceStrings("aaa", {"aa", "x"}), "xa");
  // A later pair works on what the earlier ones wrote.
  EXPECT_EQ(MacroEngine::replaceStrings(
                "<a>", {"<", "&lt;", "&", "&amp;", ">", ""}),
            "&amp;lt;a");
}

// Whatever the table, one pass or not, the result is that of applying the
// pairs one after another, each to every occurrence without regard to case.
TEST(MacroEngine, ReplaceTablesOfEveryShapeActAsPairsInTurn) {
  auto inTurn = [](std::string text, const std::vector<std::string>& table) {
    for (std::size_t i = 0; i + 1 < table.size(); i += 2) {
      const std::string find = foldCase(table[i]);
      if (find.empty()) continue;
      std::string out;
      std::size_t from = 0;
      for (std::size_t at = 0; at + find.size() <= text.size();) {
        if (foldCase(text.substr(at, find.size())) != find) {
          ++at;
          continue;
        }
        out += text.substr(from, at - from) + table[i + 1];
        at += find.size();
        from = at;
      }
      text = out + text.substr(from);
    }
    return text;
  };
  std::mt19937 random(7);
  auto word = [&](std::size_t most) {
    const std::string letters = "aAb<&;";
    std::string w(random() % (most + 1), ' ');
    for (char& c : w) c = letters[random() % letters.size()];
    return w;
  };
  for (int n = 0; n < 3000; ++n) {
    std::vector<std::string> table;
    for (std::size_t pairs = 1 + random() % 3; pairs > 0; --pairs) {
      table.push_back(word(2));
      table.push_back(word(3));
    }
    const std::string text = word(12);
    ASSERT_EQ(MacroEngine::replaceStrings(text, table), inTurn(text, table))
        << text << " with " << ::testing::PrintToString(table);
  }
}

TEST(MacroEngine, DeeplyNestedBlocksStopWithAWarning) {
  Engine t;
  std::string text;
  for (int i = 0; i < 300; ++i) text += "$IFNOTEMPTY$ $A$\r";
  text += "deep";
  for (int i = 0; i < 300; ++i) text += "$END-IFNOTEMPTY$";
  t.engine.setMacroValue("A", std::string("x"));
  t.engine.setMacroValue("DEEP", text);
  EXPECT_EQ(t.engine.evaluateMacro("DEEP", false), "$DEEP$");
  EXPECT_EQ(t.sink.text(),
            "WARNING (config file): Macro blocks are nested too deeply.\n");
}

// Texts cut together from the pieces the engine reads must always expand:
// no construct, however broken or unfinished, may crash or hang it.
TEST(MacroEngine, ExpandsAnyMixOfPieces) {
  const char* pieces[] = {"$",          "$$",          "$A$",       "$B$",
                          "\r",         " ",           "\t",        "x",
                          "$IFNOTEMPTY$", "$ELSEIF$",   "$END-IFNOTEMPTY$",
                          "$DOLIST$",   "$END-DOLIST$", "$L$",      "$P$",
                          "$NEXT-ID$",  "$REPLACE-ON$", "$SELF$",   "$LIST-ITEM$"};
  const std::size_t count = sizeof pieces / sizeof pieces[0];
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % count;
  };
  auto expand = [](const std::string& text) {
    Engine t;
    t.engine.replaceTable = ReplaceTable({"x", "<x>", "$", "$$"});
    t.engine.setMacroValue("A", std::string("a$B$"));
    t.engine.setMacroValue("B", std::string(""));
    t.engine.setMacroValue("SELF", std::string("[$SELF$$A$]"));
    t.engine.setMacroValue("L", makeList({"Mod.X\r", "\"f\r"}));
    t.engine.setMacroValue("P", makeList({"p\rd"}));
    t.engine.setMacroValue("T", text);
    return t.engine.evaluateMacro("T", false) + "|" + t.sink.text();
  };
  for (int round = 0; round < 1000; ++round) {
    std::string text;
    std::size_t length = 1 + next() * 3;
    for (std::size_t i = 0; i < length; ++i) text += pieces[next()];
    EXPECT_EQ(expand(text), expand(text)) << text;
  }
}

}  // namespace
}  // namespace scrivlet
