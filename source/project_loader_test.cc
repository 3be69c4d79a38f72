#include "source/project_loader.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/disk_code_module.h"

namespace scrivlet {
namespace {

// Loads the modules and renders the store as "helpID kind link hadComment
// [comment lines joined by |]" lines.
class LoaderTest : public ::testing::Test {
 protected:
  CodeModule& module(const std::string& name, int type, const std::string& text) {
    modules_.push_back(DiskCodeModule::fromText(name, type, text));
    settings.selectedModules.add(name, modules_.back().get());
    return *modules_.back();
  }

  std::string load() {
    store elements;
    Progress progress;
    ProjectLoader loader(elements, settings, progress, [](Element& e) {
      return std::vector<std::string>{"skeleton of " + e.name()};
    });
    loader.loadProject();
    std::string out;
    for (const auto& entry : elements.all) {
      const Element& e = *entry.item;
      out += std::to_string(e.helpID) + " " + e.className() + " " + entry.key +
             " " + (e.hadComment ? "1" : "0") + " [" + join(e.comment, "|") +
             "]\n";
    }
    return out;
  }

  ProjectSettings settings;
  std::vector<std::unique_ptr<DiskCodeModule>> modules_;
};

TEST_F(LoaderTest, CommentBlocksAboveDeclarations) {
  module("M", vbext_ct_ClassModule,
         "Sub OnLineOne()\r\nEnd Sub\r\n"
         "'**\r\n'   kept indent\r\n\r\n\r\nSub BlankBelowBlock()\r\nEnd Sub\r\n"
         "'**\r\n\r\n' text\r\nSub BlankInsideBlock()\r\nEnd Sub\r\n"
         "'*********\r\n' stars\r\nSub StarRow()\r\nEnd Sub\r\n"
         "' *\r\n' not an opener\r\nSub SpaceStar()\r\nEnd Sub\r\n"
         "    '**\r\n\t' tab\r\nSub TabLine()\r\nEnd Sub\r\n"
         "'**\r\nSub OpenerOnly()\r\nEnd Sub\r\n");
  settings.comNonCommented = false;
  EXPECT_EQ(load(),
            "102 Smethod M.BlankBelowBlock 1 [   kept indent]\n"
            "104 Smethod M.StarRow 1 [ stars]\n");
}

TEST_F(LoaderTest, ModuleCommentIsTheFirstBlockOnly) {
  module("A", vbext_ct_ClassModule,
         "\r\n'** top\r\n' about A\r\n'more\r\n\r\n' not part\r\nOption Explicit\r\n");
  module("B", vbext_ct_ClassModule, "Option Explicit\r\n'**\r\n' late\r\n");
  settings.comNonCommented = false;
  EXPECT_EQ(load(), "100 Smodule A 1 [ about A|more]\n");
}

TEST_F(LoaderTest, PropertiesVariablesAndHelpNumberGaps) {
  module("Std", vbext_ct_StdModule,
         "Public Counter As Long\r\n"
         "Private Sub Hidden()\r\nEnd Sub\r\n"
         "Sub Visible()\r\nEnd Sub\r\n");
  module("Cls", vbext_ct_ClassModule,
         "'**\r\n' the size\r\nPublic Size As Long\r\n"
         "Public a As Long, b As String\r\n"
         "'**\r\n' reads\r\nProperty Get Value() As Long\r\nEnd Property\r\n"
         "'**\r\n' writes\r\nProperty Let Value(ByVal v As Long)\r\nEnd Property\r\n"
         "Public Event Changed()\r\n"
         "Const LIMIT = 5\r\n");
  EXPECT_EQ(load(),
            "101 Smethod Std.Visible 0 [skeleton of Visible]\n"
            // The first block of a module is its own comment too.
            "102 Smodule Cls 1 [ the size]\n"
            "104 SpropGet Cls.Size'get 1 [ the size]\n"
            "104 SpropSet Cls.Size'set 1 [ the size|@param vData Long]\n"
            "106 SpropGet Cls.a'get 0 [skeleton of a]\n"
            "106 SpropSet Cls.a'set 0 [skeleton of a|@param vData Long]\n"
            "108 SpropGet Cls.b'get 0 [skeleton of b]\n"
            "108 SpropSet Cls.b'set 0 [skeleton of b|@param vData String]\n"
            "109 SpropLet Cls.Value'let 1 [ writes]\n"
            "110 SpropGet Cls.Value'get 1 [ reads]\n"
            "111 Sevent Cls.Changed 0 [skeleton of Changed]\n");

  settings.comProperty = false;
  settings.comVariable = true;
  settings.comStdModule = true;
  settings.comPrivate = true;
  EXPECT_EQ(load(),
            "100 Smodule Std 0 [skeleton of Std]\n"
            "101 Svariable Std.Counter 0 [skeleton of Counter]\n"
            "102 Smethod Std.Hidden 0 [skeleton of Hidden]\n"
            "103 Smethod Std.Visible 0 [skeleton of Visible]\n"
            "104 Smodule Cls 1 [ the size]\n"
            "105 Sevent Cls.Changed 0 [skeleton of Changed]\n");
}

// Modules load on two threads unless help numbers go into the code; both
// ways give the same elements, numbered in module order.
TEST_F(LoaderTest, ModulesLoadedTogetherNumberAsOneAfterAnother) {
  auto project = [this] {
    modules_.clear();
    settings.selectedModules.clear();
    for (int i = 0; i < 40; ++i)
      module("M" + std::to_string(i),
             i % 3 ? vbext_ct_ClassModule : vbext_ct_StdModule,
             std::string(i % 2 ? "'**\r\n' about\r\n" : "") +
                 "Public Size As Long\r\n"
                 "Property Get Value() As Long\r\nEnd Property\r\n"
                 "Sub Run" + std::to_string(i) + "()\r\nEnd Sub\r\n");
  };
  project();
  std::string together = load();
  project();
  settings.comContextID = true;
  EXPECT_EQ(load(), together);
  EXPECT_NE(together.find("271 Smethod M39.Run39"), std::string::npos)
      << together;
}

TEST_F(LoaderTest, AbortLeavesNothingLoaded) {
  module("M", vbext_ct_ClassModule, "Sub A()\r\nEnd Sub\r\n");
  module("N", vbext_ct_ClassModule, "Sub B()\r\nEnd Sub\r\n");
  store elements;
  Progress progress;
  progress.abortRequested = true;
  ProjectLoader(elements, settings, progress, nullptr).loadProject();
  EXPECT_TRUE(elements.all.empty());
  EXPECT_TRUE(elements.modules.empty());
}

}  // namespace
}  // namespace scrivlet
