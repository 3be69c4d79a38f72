#include "addin/folder_browse_model.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

std::string at(const ScreenRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top);
}

TEST(BrowseDialogPlace, OpensBelowRightOfItsOwnerAndStaysOnTheScreen) {
  const ScreenRect screen{0, 0, 1920, 1080};
  ScreenRect owner{100, 50, 600, 400};
  EXPECT_EQ(at(browseDialogPlace(&owner, 324, 331, screen)), "173,126");
  EXPECT_EQ(at(browseDialogPlace(nullptr, 324, 331, screen)), "73,76");
  owner = {1800, 1000, 600, 400};
  EXPECT_EQ(at(browseDialogPlace(&owner, 324, 331, screen)), "1596,749");
  owner = {-500, -300, 600, 400};
  EXPECT_EQ(at(browseDialogPlace(&owner, 324, 331, screen)), "0,0");
  // A second screen to the right of the first.
  const ScreenRect right{1920, 0, 1280, 1024};
  owner = {3000, 900, 200, 100};
  EXPECT_EQ(at(browseDialogPlace(&owner, 324, 331, right)), "2876,693");
}

TEST(FolderBrowse, OkChoosesTheSelectionAndCancelNothing) {
  FolderBrowseModel browse;
  browse.ShowPrompt2 = true;
  browse.RootFolder = FolderBrowseModel::FolderString(0);
  browse.PreSelectedFolder = "/work/Calc";
  std::string seen;
  browse.SelectionChanged = [&](const std::string& folder) {
    seen += folder + " ";
    browse.Prompt2 = folder;
  };
  browse.opened();
  EXPECT_EQ(browse.Prompt2, "/work/Calc");
  browse.select("/work/Calc/Scriv");
  EXPECT_EQ(browse.Prompt2, "/work/Calc/Scriv");
  browse.ok();
  EXPECT_TRUE(browse.confirmed());
  EXPECT_EQ(browse.SelectedFolder, "/work/Calc/Scriv");

  // Opening again forgets the last choice; Cancel leaves none.
  browse.PreSelectedFolder.clear();
  browse.opened();
  EXPECT_FALSE(browse.confirmed());
  browse.select("/tmp");
  browse.cancel();
  EXPECT_FALSE(browse.confirmed());
  EXPECT_EQ(browse.SelectedFolder, "");
  EXPECT_EQ(seen, "/work/Calc /work/Calc/Scriv / /tmp ");
}

}  // namespace
}  // namespace scrivlet
