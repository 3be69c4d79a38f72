// Pictures of the windows for a person to look at. scripts/screenshots runs
// the window tests with SCRIVLET_SCREENSHOT_DIR set; a test calls
// saveScreenshot at each state worth seeing, and without the variable the
// call does nothing.
#ifndef SCRIVLET_ADDIN_WINDOWS_SCREENSHOT_TEST_UTIL_H_
#define SCRIVLET_ADDIN_WINDOWS_SCREENSHOT_TEST_UTIL_H_

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>
#include <string>

namespace scrivlet {

// Saves `window` as SCRIVLET_SCREENSHOT_DIR/`name`.png, laid out and drawn
// as it would be on the screen.
inline void saveScreenshot(QWidget& window, const std::string& name) {
  const char* folder = std::getenv("SCRIVLET_SCREENSHOT_DIR");
  if (!folder || !*folder) return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  if (!window.isVisible()) window.show();
  QApplication::processEvents();
  window.grab().save(QDir(QString::fromLocal8Bit(folder))
                         .filePath(QString::fromStdString(name) + ".png"));
}

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_SCREENSHOT_TEST_UTIL_H_
