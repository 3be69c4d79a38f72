#include "addin/folder_browse_model.h"

#include <algorithm>

namespace scrivlet {

ScreenRect browseDialogPlace(const ScreenRect* owner, int width, int height,
                             const ScreenRect& screen) {
  ScreenRect place{73, 76, width, height};
  if (owner) {
    place.left += owner->left;
    place.top += owner->top;
  }
  place.left = std::min(place.left, screen.left + screen.width - width);
  place.top = std::min(place.top, screen.top + screen.height - height);
  place.left = std::max(place.left, screen.left);
  place.top = std::max(place.top, screen.top);
  return place;
}

std::string FolderBrowseModel::FolderString(int specialFolder) {
  return specialFolder == desktop ? "/" : std::string();
}

void FolderBrowseModel::opened() {
  SelectedFolder.clear();
  select(PreSelectedFolder.empty() ? RootFolder : PreSelectedFolder);
}

void FolderBrowseModel::select(const std::string& folder) {
  current_ = folder;
  if (SelectionChanged) SelectionChanged(folder);
}

}  // namespace scrivlet
