// The add-in's windows in Qt: button faces from the library's resources,
// message boxes, and the dialogs the connection opens.
#ifndef SCRIVLET_ADDIN_WINDOWS_QT_ADDIN_WINDOWS_H_
#define SCRIVLET_ADDIN_WINDOWS_QT_ADDIN_WINDOWS_H_

#include <cstdint>
#include <string>

#include "addin/addin_windows.h"
#include "base/message_box.h"

namespace scrivlet {

// A QMessageBox with the icon, title and buttons asked for, over the
// active window.
class QtMessageBox : public MessageBox {
 public:
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon icon) override;
};

// Image 100 to 103 from the resources, white turned into `faceColor`;
// an empty picture when there is no such image.
Picture loadFace(int image, std::uint32_t faceColor);

class QtAddinWindows : public AddinWindows {
 public:
  // Registers the faces with Qt's resource system for as long as the
  // object lives, so that nothing of the library stays registered after
  // it is unloaded.
  QtAddinWindows();
  ~QtAddinWindows() override;
  QtAddinWindows(const QtAddinWindows&) = delete;
  QtAddinWindows& operator=(const QtAddinWindows&) = delete;

  Picture faceImage(int image, std::uint32_t faceColor) override;
  MessageBox& messageBox() override { return box_; }
  void showMainDialog(connect& connection) override;
  void hideMainDialog() override {}
  void showCommentEditor(connect& connection) override;
  void showProgressDialog(connect& connection) override;
  void unloadDialogs() override {}

 private:
  void notAvailable();

  QtMessageBox box_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_QT_ADDIN_WINDOWS_H_
