#include "masker/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessick {
namespace {

using Arguments = std::vector<std::string>;

// "folder|extensions|mode", or "missing value".
std::string read(const Arguments& arguments) {
  auto options = readOptions(arguments);
  if (!options)
    return "missing value";
  return options->folder + "|" + options->extensions + "|" +
         std::to_string(static_cast<int>(options->mode));
}

TEST(CommandLine, JoinQuotesOnlyArgumentsWithBlanksAndNoQuote) {
  EXPECT_EQ("", joinArguments({}));
  EXPECT_EQ("/d \"My Docs\" /e htm", joinArguments({"/d", "My Docs", "/e", "htm"}));
  EXPECT_EQ("\"a\tb\" c", joinArguments({"a\tb", "c"}));
  EXPECT_EQ("say \"hi there\"", joinArguments({"say \"hi there\""}));
  EXPECT_EQ("/e  /c", joinArguments({"/e", "", "/c"}));
}

TEST(CommandLine, SplitKeepsQuotesAndMakesNoEmptyArguments) {
  EXPECT_EQ(Arguments{}, splitArguments(""));
  EXPECT_EQ(Arguments{}, splitArguments(" \t "));
  EXPECT_EQ((Arguments{"/d", "\"My Docs\"", "/e", "htm"}),
            splitArguments("  /d   \"My Docs\"\t/e htm \t"));
  EXPECT_EQ((Arguments{"\"a b\"c", "d"}), splitArguments("\"a b\"c d"));
  EXPECT_EQ((Arguments{"a\"b\tc\"d"}), splitArguments("a\"b\tc\"d"));
  EXPECT_EQ((Arguments{"\"open to the end "}), splitArguments("\"open to the end "));
}

TEST(CommandLine, TextFromTheSixthArgumentOnIsIgnored) {
  EXPECT_EQ((Arguments{"a", "b", "c", "d", "e"}), splitArguments("a b c d e \"f g h"));
  EXPECT_EQ((Arguments{"a", "b", "c", "d", "\"e f\""}),
            splitArguments("a b  c\td \"e f\" /b"));
  EXPECT_EQ("out/|htm|1", read(splitArguments("/n /d out /e htm /b")));
}

TEST(CommandLine, OptionsAndTheirValues) {
  EXPECT_EQ("||0", read({}));
  EXPECT_EQ("out/||0", read({"/d", "out"}));
  EXPECT_EQ("out/||0", read({"/d", "out/"}));
  EXPECT_EQ("My Docs/||0", read({"/d", "\"My Docs\""}));
  EXPECT_EQ("\"My Docs/||0", read({"/d", "\"My Docs"}));
  EXPECT_EQ("||0", read({"/d", "\"\""}));
  EXPECT_EQ("|htm,hhc|0", read({"/e", "\"htm,hhc\""}));
  EXPECT_EQ("|htm\"|0", read({"/e", "htm\""}));
  // Case-sensitive: upper-case letters are ignored like any other word.
  EXPECT_EQ("||0", read({"/D", "out", "/E", "htm", "/N"}));
  // The value is examined as an argument too.
  EXPECT_EQ("/c/||2", read({"/d", "/c"}));
  EXPECT_EQ("|/n|1", read({"/e", "/n"}));
}

TEST(CommandLine, LastOptionWins) {
  EXPECT_EQ("||2", read({"/b", "/n", "/c"}));
  EXPECT_EQ("||1", read({"/c", "/n"}));
  EXPECT_EQ("||0", read({"/c", "/b"}));
  EXPECT_EQ("b/|y|0", read({"/d", "a", "/e", "x", "/d", "b", "/e", "y"}));
}

TEST(CommandLine, OptionWithoutValueIsAnError) {
  EXPECT_EQ("missing value", read({"/d"}));
  EXPECT_EQ("missing value", read({"/e"}));
  EXPECT_EQ("missing value", read({"/e", "htm", "/d"}));
  EXPECT_EQ("missing value", read({"/d", "out", "/e"}));
  EXPECT_EQ("missing value", read(splitArguments("/n /n /n /n /d out")));
}

}  // namespace
}  // namespace tessick
