#include "compiler/output_names.h"

#include <gtest/gtest.h>

#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

// Later names that fold to an earlier one take "-2", "-3", ... in the order
// asked, skipping any that a page holds already; the files every project of
// a group writes keep their names; another folder is another set of names.
TEST(OutputNames, LaterPagesOfANameTakeTheNextFreeSuffix) {
  RecordingSink sink;
  Progress progress(&sink);
  OutputNames names;
  std::string given;
  auto page = [&](const char* folder, const char* stem, const char* ext) {
    given += names.claim(folder, stem, ext, progress) + " ";
  };
  auto shared = [&](const char* stem, const char* ext) {
    given += names.claim("/doc", stem, ext, progress,
                         OutputNames::Use::shared) + " ";
  };
  shared("Group+", ".htm");
  page("/doc", "Calc", ".htm");
  page("/doc", "calc", ".htm");
  page("/doc", "Calc-3", ".htm");
  page("/doc", "CALC", ".htm");
  page("/doc", "Calc", ".hhc");
  page("/other", "Calc", ".htm");
  shared("Group+", ".htm");
  page("/doc", "group+", ".htm");
  shared("Group+", ".htm");
  // A project compiled later keeps its name; a page before it steps aside.
  names.reserve("/doc/", "Lib", ".htm", "Lib");
  names.reserve("/doc/", "Calc", ".htm", "Calc");
  page("/doc", "lib", ".htm");
  given += names.claim("/doc", "Lib", ".htm", progress,
                       OutputNames::Use::projectFile) + " ";
  EXPECT_EQ(given,
            "Group+.htm Calc.htm calc-2.htm Calc-3.htm CALC-4.htm Calc.hhc "
            "Calc.htm Group+.htm group+-2.htm Group+.htm lib-2.htm Lib.htm ");
  EXPECT_EQ(sink.text(),
            "WARNING: \"calc.htm\" is the name of a page written before "
            "(\"Calc.htm\", letter case aside); this page is written as "
            "\"calc-2.htm\".\n"
            "WARNING: \"CALC.htm\" is the name of a page written before "
            "(\"Calc.htm\", letter case aside); this page is written as "
            "\"CALC-4.htm\".\n"
            "WARNING: \"group+.htm\" is the name of a page written before "
            "(\"Group+.htm\", letter case aside); this page is written as "
            "\"group+-2.htm\".\n"
            "WARNING: \"lib.htm\" is kept for the files of the project Lib "
            "(\"Lib.htm\", letter case aside); this page is written as "
            "\"lib-2.htm\".\n");
}

}  // namespace
}  // namespace scrivlet
