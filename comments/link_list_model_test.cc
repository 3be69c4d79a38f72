#include "comments/link_list_model.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

// The list as the view shows it: entries (the selected one marked), then
// the two boxes.
std::string shown(const LinkListModel& list) {
  std::string text;
  for (std::size_t i = 0; i < list.entries().size(); ++i)
    text += (static_cast<int>(i) == list.selected() ? "*" : "") +
            list.entries()[i] + "\n";
  return text + "link=" + list.linkText() + " label=" + list.labelText();
}

TEST(LinkList, AddSelectRemoveAndPick) {
  LinkListModel list;
  int changes = 0;
  auto following = list.changes().subscribe([&] { ++changes; });
  list.setLinkText("  ");
  EXPECT_FALSE(list.add());
  list.setLinkText("Calc.Add");
  list.setLabelText("adding");
  list.add();
  list.setLinkText("Calc.Reset");
  list.setLabelText("");
  list.add();
  list.addPicked("Stats.Count'get");
  list.addPicked("");  // cancelled
  EXPECT_EQ(shown(list),
            "Calc.Add [adding]\nCalc.Reset\n*Stats.Count'get\n"
            "link=Stats.Count'get label=");
  EXPECT_GT(changes, 0);

  list.selectEntry(0);
  EXPECT_EQ(shown(list),
            "*Calc.Add [adding]\nCalc.Reset\nStats.Count'get\n"
            "link=Calc.Add label=adding");
  list.remove();
  EXPECT_EQ(shown(list),
            "*Calc.Reset\nStats.Count'get\nlink=Calc.Reset label=");
  list.selectEntry(1);
  list.remove();  // the last entry: the one before is selected
  EXPECT_EQ(shown(list), "*Calc.Reset\nlink=Calc.Reset label=");
  list.remove();
  EXPECT_FALSE(list.removeEnabled());
  list.remove();  // nothing selected: nothing happens
  list.selectEntry(5);
  EXPECT_EQ(shown(list), "link=Calc.Reset label=");
}

TEST(LinkList, EntriesSplitAtTheirFirstBracket) {
  std::string link, label;
  LinkListModel::splitEntry("Calc.Add [adds [two] numbers]", link, label);
  EXPECT_EQ(link + "|" + label, "Calc.Add|adds [two] numbers");
  LinkListModel::splitEntry("  \"sample.txt ", link, label);
  EXPECT_EQ(link + "|" + label, "\"sample.txt|");
  EXPECT_EQ(LinkListModel::entryFor("Calc", ""), "Calc");
  EXPECT_EQ(LinkListModel::entryFor("Calc", "the class"), "Calc [the class]");

  LinkListModel list;
  list.reset({"Stats.Count [counting]", "IShape"});
  EXPECT_TRUE(list.hasEntryBeginningWith("Stats"));
  EXPECT_TRUE(list.hasEntryBeginningWith("IShape"));
  EXPECT_FALSE(list.hasEntryBeginningWith("Calc"));
}

}  // namespace
}  // namespace scrivlet
