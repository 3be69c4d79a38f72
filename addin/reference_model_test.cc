#include "addin/reference_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/disk_code_module.h"
#include "source/crlf_test_util.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

struct Project {
  Project() {
    main = DiskCodeModule::fromText(
        "Main", vbext_ct_StdModule,
        crlf({"Public gCount As Long", "Public Sub Refresh()", "End Sub",
              "Public Property Get Mode() As Long", "End Property",
              "Public Property Let Mode(ByVal v As Long)", "End Property"}));
    calc = DiskCodeModule::fromText(
        "Calc", vbext_ct_ClassModule,
        crlf({"Event Changed()", "Private Const Limit = 3",
              "Public Property Get Total() As Long", "End Property",
              "Public Property Set Owner(ByVal o As Object)", "End Property",
              "Public Property Let Total(ByVal v As Long)", "End Property",
              "Public Function Sum() As Long", "End Function"}));
    stats = DiskCodeModule::fromText(
        "Stats", vbext_ct_ClassModule,
        crlf({"Public Property Get Count() As Long", "End Property"}));
    settings.selectedModules.add("Main", main.get());
    settings.selectedModules.add("Calc", calc.get());
    settings.selectedModules.add("Stats", stats.get());
  }
  std::unique_ptr<DiskCodeModule> main, calc, stats;
  ProjectSettings settings;
};

// What the dialog shows after activation: the page, the combo, the selected
// member entry, the file name box.
std::string shown(const ReferenceModel& dialog) {
  std::string member = dialog.selectedMember() < 0
                           ? "-"
                           : dialog.memberEntries()[static_cast<std::size_t>(
                                 dialog.selectedMember())];
  return std::string(dialog.page() == ReferenceModel::Page::file ? "file"
                                                                  : "member") +
         "|" + dialog.moduleText() + "|" + member + "|" + dialog.fileName();
}

std::string preselect(Project& p, const std::shared_ptr<Element>& wrapper,
                      const std::string& link) {
  ReferenceModel dialog(p.settings);
  dialog.setWrapper(wrapper);
  dialog.setSelected(link);
  dialog.initBoth();
  dialog.showCurrentReference();
  return shown(dialog);
}

TEST(ReferenceSelection, MemberListAndPreselection) {
  Project p;
  EXPECT_EQ(ReferenceModel::memberEntriesOf(*p.calc),
            (std::vector<std::string>{"Changed", "Limit",
                                      "Total [PropertyLet]",
                                      "Total [PropertyGet]",
                                      "Owner [PropertySet]", "Sum"}));
  ReferenceModel dialog(p.settings);
  EXPECT_EQ(dialog.moduleNames(),
            (std::vector<std::string>{"Main", "Calc", "Stats"}));
  dialog.selectModule(0);
  EXPECT_EQ(dialog.memberEntries(),
            (std::vector<std::string>{" [Module itself]", "gCount", "Refresh",
                                      "Mode [PropertyLet]",
                                      "Mode [PropertyGet]"}));
  dialog.selectModule(3);
  EXPECT_TRUE(dialog.memberEntries().empty());
  EXPECT_EQ(dialog.moduleIndex(), -1);

  auto refresh = elementAtLine(*p.main, 2);  // edited: Main.Refresh
  EXPECT_EQ(preselect(p, refresh, "Calc.Total'let"),
            "member|Calc|Total [PropertyLet]|");
  EXPECT_EQ(preselect(p, refresh, ".Refresh"), "member|Main|Refresh|");
  EXPECT_EQ(preselect(p, refresh, "Main."), "member|Main|Refresh|");
  EXPECT_EQ(preselect(p, refresh, ""), "member|Main| [Module itself]|");
  EXPECT_EQ(preselect(p, refresh, "Stats"), "member|Stats| [Module itself]|");
  // A bare property name finds its Set, Let or Get entry.
  EXPECT_EQ(preselect(p, refresh, "Calc.Owner"),
            "member|Calc|Owner [PropertySet]|");
  EXPECT_EQ(preselect(p, refresh, "Calc.Total"),
            "member|Calc|Total [PropertyLet]|");
  EXPECT_EQ(preselect(p, refresh, "Calc.Total'x"),
            "member|Calc|Total [PropertyGet]|");
  EXPECT_EQ(preselect(p, refresh, "Calc.Missing"), "member|Calc|-|");
  EXPECT_EQ(preselect(p, refresh, "\"ex/sample.txt"), "file|Main|-|ex/sample.txt");
}

TEST(ReferenceSelection, OkReturnsTheLinkText) {
  Project p;
  auto mode = elementAtLine(*p.main, 4);  // Main.Mode'get
  ReferenceModel dialog(p.settings);
  dialog.setWrapper(mode);
  dialog.initMember();
  EXPECT_FALSE(dialog.choiceVisible());
  dialog.showCurrentReference();
  auto choose = [&](int module, const std::string& entry) {
    dialog.selectModule(module);
    const std::vector<std::string>& entries = dialog.memberEntries();
    auto it = std::find(entries.begin(), entries.end(), entry);
    EXPECT_NE(it, entries.end()) << entry;
    dialog.selectMember(static_cast<int>(it - entries.begin()));
    return dialog.ok();
  };
  EXPECT_EQ(choose(0, "Mode [PropertyGet]"), ".Mode'get");
  EXPECT_EQ(choose(0, "Mode [PropertyLet]"), ".Mode'let");
  EXPECT_EQ(choose(0, "Refresh"), ".Refresh");
  EXPECT_EQ(choose(2, "Count [PropertyGet]"), "Stats.Count'get");
  EXPECT_EQ(choose(1, "Owner [PropertySet]"), "Calc.Owner'set");
  EXPECT_EQ(choose(1, " [Module itself]"), "Calc");
  EXPECT_EQ(dialog.selected(), "Calc");
  dialog.selectModule(1);
  EXPECT_EQ(dialog.ok(), "");  // no member chosen
  dialog.cancel();
  EXPECT_EQ(dialog.selected(), "");

  ReferenceModel files(p.settings);
  files.setWrapper(mode);
  files.initFile();
  files.showCurrentReference();
  EXPECT_EQ(files.page(), ReferenceModel::Page::file);
  EXPECT_EQ(files.proposedFileName(), "Main_Mode_example.txt");
  EXPECT_EQ(files.ok(), "");
  files.fileChosen("");
  files.fileChosen("C:\\Docs\\sample.txt");
  EXPECT_EQ(files.ok(), "\"sample.txt");
  files.fileChosen("/work/docs/sample.txt");
  EXPECT_EQ(files.proposedFileName(), "/work/docs/sample.txt");
  EXPECT_EQ(files.ok(), "\"sample.txt");
  files.setAbsolutePath(true);
  EXPECT_EQ(files.ok(), "\"/work/docs/sample.txt");
}

// What the window needs besides the link: which page shows, the choice,
// the member picked by its place in the list, where the file dialog starts.
TEST(ReferenceSelection, PagesMembersAndTheFileDialog) {
  Project p;
  p.settings.outputPath = "/work/out/";
  auto refresh = elementAtLine(*p.main, 2);
  ReferenceModel dialog(p.settings);
  int changes = 0;
  auto following = dialog.changes().subscribe([&] { ++changes; });
  dialog.setWrapper(refresh);
  dialog.setSelected("\"notes.txt");
  dialog.initBoth();
  EXPECT_TRUE(dialog.choiceVisible());
  EXPECT_EQ(dialog.page(), ReferenceModel::Page::member);
  dialog.showCurrentReference();
  EXPECT_EQ(shown(dialog), "file|Main|-|notes.txt");
  EXPECT_EQ(dialog.fileDialogFolder(), "/work/out/");
  EXPECT_EQ(dialog.proposedFileName(), "notes.txt");
  dialog.setFileName("");
  EXPECT_EQ(dialog.proposedFileName(), "Main_Refresh_example.txt");

  // Back to the member page: the first module is there to choose from.
  dialog.choosePage(ReferenceModel::Page::member);
  EXPECT_EQ(dialog.moduleIndex(), 0);
  dialog.selectModule(1);
  dialog.selectMember(3);
  EXPECT_EQ(shown(dialog), "member|Calc|Total [PropertyLet]|");
  dialog.selectMember(99);
  EXPECT_EQ(dialog.selectedMember(), -1);
  dialog.selectMember(2);
  EXPECT_EQ(dialog.ok(), "Calc.Limit");
  // The page decides: a file name typed earlier is not the answer.
  dialog.setFileName("x.txt");
  EXPECT_EQ(dialog.ok(), "Calc.Limit");
  dialog.choosePage(ReferenceModel::Page::file);
  EXPECT_EQ(dialog.ok(), "\"x.txt");
  EXPECT_GT(changes, 8);

  dialog.initFile();
  EXPECT_FALSE(dialog.choiceVisible());
  EXPECT_EQ(dialog.page(), ReferenceModel::Page::file);
  dialog.initMember();
  EXPECT_EQ(dialog.page(), ReferenceModel::Page::member);
}

}  // namespace
}  // namespace scrivlet
