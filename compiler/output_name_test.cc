#include "compiler/output_name.h"

#include <gtest/gtest.h>

#include <string>

namespace scrivlet {
namespace {

TEST(OutputName, KeepsEveryFileInsideTheOutputFolder) {
  for (const char* name :
       {"Form1-Load.htm", "Calc+title.htm", "Group+.hhp", "modMain-[a b].htm",
        "Caf\xE9.htm", ".htm", "a..b", "...x", "Value'get.htm"})
    EXPECT_TRUE(isSafeOutputName(name)) << name;

  const std::string withNul("a\0b.htm", 7);
  for (const std::string& name :
       {std::string(), std::string("."), std::string(".."),
        std::string(". ."), std::string("  "), std::string("../x.htm"),
        std::string("x/.."), std::string("/etc/passwd"),
        std::string("a\\b.htm"), std::string("..\\..\\x"),
        std::string("C:x.htm"), std::string("a\rb"), std::string("a\tb"),
        withNul})
    EXPECT_FALSE(isSafeOutputName(name)) << name;
}

}  // namespace
}  // namespace scrivlet
