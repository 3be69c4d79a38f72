// What the "Browse For Folder" dialog (frmBrowseDlg) holds: its two
// prompts, the root and the preselected folder, the folder chosen, and where
// on the screen it opens. The window shows a folder tree over it.
#ifndef SCRIVLET_ADDIN_FOLDER_BROWSE_MODEL_H_
#define SCRIVLET_ADDIN_FOLDER_BROWSE_MODEL_H_

#include <functional>
#include <string>

namespace scrivlet {

inline constexpr char defaultPrompt1[] =
    "Select the folder where you want to begin the search.";

// A rectangle in screen pixels.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Where a dialog of `width` x `height` opens: 73 pixels right of and 76
// below the owner's upper left corner (73, 76 on the screen without an
// owner), moved left or up to stay inside `screen`, and never above or left
// of its top left corner.
ScreenRect browseDialogPlace(const ScreenRect* owner, int width, int height,
                             const ScreenRect& screen);

class FolderBrowseModel {
 public:
  // The special folders FolderString knows.
  enum SpecialFolder { desktop = 0 };
  // The path of a special folder. The desktop is the root that every other
  // folder lies under; here that is the file system's root.
  static std::string FolderString(int specialFolder);

  // Read when the dialog opens.
  std::string Prompt1 = defaultPrompt1;
  bool ShowPrompt2 = false;
  std::string RootFolder;
  std::string PreSelectedFolder;
  // May change while the dialog is shown (in SelectionChanged).
  std::string Prompt2;

  // Raised with the folder's path for every selection in the tree while
  // the dialog is shown, and for the preselected folder when it opens.
  std::function<void(const std::string&)> SelectionChanged;

  // The dialog opens: forgets the last choice and announces the folder that
  // starts selected (the preselected folder, else the root).
  void opened();
  // The tree's selection moved to `folder`.
  void select(const std::string& folder);
  const std::string& currentFolder() const { return current_; }
  // "OK": the current folder becomes the selected one. "Cancel" and the
  // window's close button: nothing is selected.
  void ok() { SelectedFolder = current_; }
  void cancel() { SelectedFolder.clear(); }
  // What Browse answers: whether OK chose a folder.
  bool confirmed() const { return !SelectedFolder.empty(); }

  // The chosen folder's path after OK; empty otherwise.
  std::string SelectedFolder;

 private:
  std::string current_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_FOLDER_BROWSE_MODEL_H_
