#include "addin/windows/qt_addin_windows.h"

#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QString>
#include <QUrl>

#include "addin/connect.h"
#include "addin/settings_file.h"
#include "addin/windows/compile_windows.h"
#include "addin/windows/edit_comment.h"
#include "addin/windows/qt_text.h"

// Outside any namespace, as Qt's resource macros require.
static void registerFaces() { Q_INIT_RESOURCE(faces); }
static void unregisterFaces() { Q_CLEANUP_RESOURCE(faces); }

namespace scrivlet {

Picture loadFace(int image, std::uint32_t faceColor) {
  QImage face(QString(":/scrivlet/face%1.png").arg(image));
  if (face.isNull()) return {};
  face = face.convertToFormat(QImage::Format_ARGB32);
  Picture picture{face.width(), face.height(), {}};
  picture.pixels.reserve(static_cast<std::size_t>(face.width() * face.height()));
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) {
      QRgb pixel = face.pixel(x, y);
      if ((pixel & 0xFFFFFF) == 0xFFFFFF) pixel = 0xFF000000 | (faceColor & 0xFFFFFF);
      picture.pixels.push_back(pixel);
    }
  }
  return picture;
}

QtAddinWindows::QtAddinWindows() { registerFaces(); }
QtAddinWindows::~QtAddinWindows() { unregisterFaces(); }

Picture QtAddinWindows::faceImage(int image, std::uint32_t faceColor) {
  Picture picture = loadFace(image, faceColor);
  if (picture.pixels.empty()) throw HostError(326, "Resource not found");
  return picture;
}

CompileWindows& QtAddinWindows::compileWindows(connect& connection) {
  if (!compile_) {
    compile_ = std::make_unique<CompileWindows>(
        connection.settings, *connection.VBInstance, connection.fileServices(),
        connection.addinFolder(), QApplication::activeWindow());
    compile_->runCommand = runCommand;
    compile_->helpCompiler = helpCompiler;
  }
  return *compile_;
}

// The dialog's compile commands ask for the compile; closing it, whichever
// way, hides it as far as the connection is concerned.
void QtAddinWindows::showMainDialog(connect& connection) {
  if (compileWindows(connection).showOptions()) connection.startCompile = true;
  connection.Hide();
}

void QtAddinWindows::hideMainDialog() {
  if (compile_) compile_->Hide();
}

void QtAddinWindows::showProgressDialog(connect& connection) {
  compileWindows(connection).showProgress();
}

void QtAddinWindows::showCommentEditor(connect& connection) {
  EditCommentServices services;
  services.ide = connection.VBInstance;
  services.files = &connection.fileServices();
  services.messages = &box_;
  services.open = [](const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
  };
  services.saveSettings = [&connection] {
    SettingsFile(*connection.VBInstance, connection.fileServices(),
                 connection.addinFolder())
        .saveProjectSettings(connection.settings);
  };
  scrivlet::showCommentEditor(*connection.VBInstance, connection.settings,
                              services, QApplication::activeWindow());
}

void QtAddinWindows::unloadDialogs() { compile_.reset(); }

}  // namespace scrivlet
