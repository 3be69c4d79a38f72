// What the connection needs from the add-in's windows: the button faces,
// message boxes and the modal dialogs. The Qt windows implement it in
// addin/windows/; tests script it.
#ifndef SCRIVLET_ADDIN_ADDIN_WINDOWS_H_
#define SCRIVLET_ADDIN_ADDIN_WINDOWS_H_

#include <cstdint>

#include "base/message_box.h"
#include "base/vbide.h"

namespace scrivlet {

class connect;

// The add-in's button images.
enum FaceImage : int {
  faceCopyAsCode = 100,
  faceMain = 101,
  faceInsertComment = 102,
  faceCommentEditor = 103,
};

class AddinWindows {
 public:
  virtual ~AddinWindows() = default;
  // Image `image` (100 to 103), 16 x 16, with its white pixels in
  // `faceColor` (0xRRGGBB), so that the face blends into the button.
  virtual Picture faceImage(int image, std::uint32_t faceColor) = 0;
  virtual MessageBox& messageBox() = 0;
  // The main dialog, modal; created on first use and given the connection.
  // Its "Compile" commands set `connection.startCompile` (and the group
  // flag of `connection.progress`); closing it calls `connection.Hide()`.
  virtual void showMainDialog(connect& connection) = 0;
  virtual void hideMainDialog() = 0;
  // The comment editor for the element at the caret, modal.
  virtual void showCommentEditor(connect& connection) = 0;
  // The progress dialog, modal; showing it runs the compile of the active
  // project.
  virtual void showProgressDialog(connect& connection) = 0;
  // Closes and forgets every dialog; they are made again on next use.
  virtual void unloadDialogs() = 0;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_ADDIN_WINDOWS_H_
