#include "addin/windows/qt_addin_windows.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QString>

#include "addin/connect.h"
#include "addin/windows/qt_text.h"

// Outside any namespace, as Qt's resource macros require.
static void registerFaces() { Q_INIT_RESOURCE(faces); }
static void unregisterFaces() { Q_CLEANUP_RESOURCE(faces); }

namespace scrivlet {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OKCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

MessageAnswer answerOf(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return MessageAnswer::OK;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Abort:
      return MessageAnswer::Abort;
    case QMessageBox::Retry:
      return MessageAnswer::Retry;
    case QMessageBox::Ignore:
      return MessageAnswer::Ignore;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    default:
      return MessageAnswer::None;
  }
}

}  // namespace

MessageAnswer QtMessageBox::show(const std::string& title,
                                 const std::string& text,
                                 MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(qtIcon(icon), toQString(title), toQString(text),
                  qtButtons(buttons), QApplication::activeWindow());
  box.setObjectName("messageBox");
  return answerOf(box.exec());
}

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

// Until the dialogs are built the commands that open them say so; the
// main dialog counts as closed at once.
void QtAddinWindows::notAvailable() {
  box_.show("Scrivlet", notAvailableText, MessageButtons::OK,
            MessageIcon::Information);
}

void QtAddinWindows::showMainDialog(connect& connection) {
  notAvailable();
  connection.Hide();
}

void QtAddinWindows::showCommentEditor(connect&) { notAvailable(); }

void QtAddinWindows::showProgressDialog(connect&) { notAvailable(); }

}  // namespace scrivlet
