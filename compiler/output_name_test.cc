#include "compiler/output_name.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/disk_code_module.h"

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

// Module names are checked when a project is opened, but a member's name
// may be written in brackets and then holds anything but "]": the page name
// built from it must be checked where the file is named.
TEST(OutputName, BracketedMemberNamesCanHoldSeparators) {
  auto m = DiskCodeModule::fromText("modMain", vbext_ct_StdModule,
                                    "Public Sub [../../x]()\r\nEnd Sub\r\n"
                                    "Public Sub [Go]()\r\nEnd Sub\r\n");
  std::string pages;
  for (const auto& member : m->Members()) {
    const std::string page = m->Name() + "-" + member->Name() + ".htm";
    pages += page + (isSafeOutputName(page) ? " written\n" : " refused\n");
  }
  EXPECT_EQ(pages,
            "modMain-../../x.htm refused\n"
            "modMain-Go.htm written\n");
}

}  // namespace
}  // namespace scrivlet
