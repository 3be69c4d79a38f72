// Templates as a hostile or broken file may have them: blocks nested ten
// thousand deep, blocks never closed, macros referring to each other in
// long chains, megabyte lines. Each expands to an answer with a warning,
// never a stack overflow or a hang.
#include <gtest/gtest.h>

#include <string>

#include "compiler/macro_engine.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

class Engine {
 public:
  Engine() : progress(&sink), engine(elements, progress) {
    engine.askFileError = [](const std::string&, const std::string&, int) {
      return fileErrorAbandon;
    };
  }
  // Loads `body` as the section "scriv-deep-body" and expands it.
  std::string expandSection(const std::string& body) {
    EXPECT_EQ(engine.loadTemplateText("$A$ a\r\n$scriv-deep-body$\r\n" + body +
                                          "\r\n$end-scriv-deep-body$\r\n",
                                      "deep.scvt", false),
              0);
    engine.setMacroValue("L-LIST", makeList({"one\r", "two\r"}));
    return engine.evaluateMacro("scriv-deep-body", false);
  }
  store elements;
  RecordingSink sink;
  Progress progress;
  MacroEngine engine;
};

std::string repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(TemplateRobustness, BlocksNestedTenThousandDeepStopWithAWarning) {
  const int depth = 10000;
  Engine conditions;
  EXPECT_EQ(conditions.expandSection(repeat("$IFNOTEMPTY$ $A$\r\n", depth) +
                                     "x" +
                                     repeat("$END-IFNOTEMPTY$\r\n", depth)),
            "$scriv-deep-body$");
  EXPECT_EQ(conditions.sink.text(),
            "WARNING (config file): Macro blocks are nested too deeply.\n");

  // Opened ten thousand times and never closed: one warning, and the text
  // up to the first opening.
  Engine open;
  EXPECT_EQ(open.expandSection("a" + repeat("$IFNOTEMPTY$ $A$ ", depth)), "a");
  EXPECT_EQ(open.sink.text(),
            "WARNING (config file): Wrong syntax of IFNOTEMPTY macro. "
            "Unfinished line.\n");
}

// Loops count as blocks: ten thousand of them, alone or between conditions,
// stop at the nesting limit with one warning.
TEST(TemplateRobustness, LoopsNestedTenThousandDeepStopWithAWarning) {
  struct Case {
    std::string open, close;
  } cases[] = {
      {"$DOLIST$ $L-LIST$\r\n", "$END-DOLIST$\r\n"},
      {"$IFNOTEMPTY$ $A$\r\n$DOLIST$ $L-LIST$\r\n",
       "$END-DOLIST$\r\n$ELSEIF$\r\n$END-IFNOTEMPTY$\r\n"},
  };
  for (const Case& c : cases) {
    Engine loops;
    EXPECT_EQ(loops.expandSection(repeat(c.open, 10000) + "x" +
                                  repeat(c.close, 10000)),
              "$scriv-deep-body$")
        << c.open;
    EXPECT_EQ(loops.sink.text(),
              "WARNING (config file): Macro blocks are nested too deeply.\n")
        << c.open;
  }

  // Four loops over a hundred items are within the nesting limit but would
  // expand the innermost body a hundred million times: the evaluation stops
  // once the loop items and their bodies add up to too much.
  Engine loops;
  EXPECT_EQ(loops.engine.loadTemplateText(
                "$scriv-deep-body$\r\n" + repeat("$DOLIST$ $H-LIST$\r\n", 4) +
                    std::string(512, 'x') + repeat("$END-DOLIST$\r\n", 4) +
                    "$end-scriv-deep-body$\r\n",
                "deep.scvt", false),
            0);
  loops.engine.setMacroValue("H-LIST", makeList(MacroList(100, "item\r")));
  EXPECT_EQ(loops.engine.evaluateMacro("scriv-deep-body", false),
            "$scriv-deep-body$");
  EXPECT_EQ(loops.sink.text(),
            "WARNING (config file): Macro list loops expand too much text.\n");
}

// D0 names D1 twice, D1 names D2 twice, and so on forty deep: a trillion
// expansions. The evaluation stops at its work limit (lowered here, so that
// the test meets it quickly); the next evaluation starts afresh.
TEST(TemplateRobustness, MacrosDoublingAtEveryLevelStopWithAWarning) {
  Engine doubling;
  doubling.engine.limits.expandedText = std::size_t{1} << 20;
  for (int i = 0; i < 40; ++i) {
    std::string next = "$D" + std::to_string(i + 1) + "$";
    doubling.engine.setMacroValue("D" + std::to_string(i), next + next);
  }
  doubling.engine.setMacroValue("D40", "ab");
  EXPECT_EQ(doubling.engine.evaluateMacro("D0", false), "$D0$");
  EXPECT_EQ(doubling.sink.text(),
            "WARNING (config file): Macros expand too much text.\n");
  EXPECT_EQ(doubling.engine.evaluateMacro("D30", false),
            repeat("ab", 1 << 10));
}

TEST(TemplateRobustness, LongChainsAndHugeLinesExpand) {
  // M0 refers to M1, ... M9999 to M10000: the chain is cut at the depth
  // limit, where the macro too deep stays unexpanded.
  Engine chain;
  for (int i = 0; i < 10000; ++i)
    chain.engine.setMacroValue("M" + std::to_string(i),
                               "<$M" + std::to_string(i + 1) + "$>");
  const auto limit = static_cast<std::size_t>(MacroEngine::kMaxDepth);
  EXPECT_EQ(chain.engine.evaluateMacro("M0", false),
            std::string(limit, '<') + "$M" + std::to_string(limit) + "$" +
                std::string(limit, '>'));
  EXPECT_NE(chain.sink.text().find("nested too deeply"), std::string::npos);

  // A definition ten megabytes long without a line end.
  Engine huge;
  const std::string value(10 * 1024 * 1024, 'v');
  ASSERT_EQ(huge.engine.loadTemplateText("$BIG$ " + value, "huge.scvt", false),
            0);
  EXPECT_EQ(huge.engine.evaluateMacro("BIG", false), value);
  EXPECT_EQ(huge.sink.text(), "");
}

}  // namespace
}  // namespace scrivlet
