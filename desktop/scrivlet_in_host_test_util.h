// Scrivlet loaded into a host over a copy of the Calc example, and the means
// to drive the add-in's windows from there. The windows come from the
// library built beside the tests, so they are found by their object names
// and Qt's own classes, never by casting to the add-in's types: those live
// in the library's copy, not the tests'.
#ifndef SCRIVLET_DESKTOP_SCRIVLET_IN_HOST_TEST_UTIL_H_
#define SCRIVLET_DESKTOP_SCRIVLET_IN_HOST_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <string>

#include "desktop/ide_command_bars.h"
#include "desktop/ide_test_util.h"

namespace scrivlet {

inline const QString scrivletLibrary =
    QStringLiteral(SCRIVLET_BUILD_DIR "/libscrivlet.so");

// The action behind the control captioned `caption` on `bar`.
inline QAction* action(CommandBar& bar, const std::string& caption) {
  for (long i = 1; i <= bar.Controls().Count(); ++i)
    if (bar.Controls().Item(i)->Caption() == caption)
      return static_cast<IdeCommandBarControl*>(bar.Controls().Item(i))
          ->action();
  return nullptr;
}

// Runs `step` on the first modal window for which `ready` holds, checking
// again whenever the event loop turns until it does. A message box met on
// the way is a failure, closed so that the test ends instead of waiting.
inline void whenModal(std::function<bool(QWidget&)> ready,
                      std::function<void(QWidget&)> step) {
  QTimer::singleShot(5, [ready, step] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      ADD_FAILURE() << "message box: " << box->windowTitle().toStdString()
                    << ": " << box->text().toStdString();
      box->done(QMessageBox::Cancel);
      return whenModal(ready, step);
    }
    if (!modal || !modal->isVisible() || !ready(*modal))
      return whenModal(ready, step);
    step(*modal);
  });
}

// Runs `step` on the next modal window named `name`.
inline void whenModalNamed(const char* name,
                           std::function<void(QWidget&)> step) {
  const QString wanted = QString::fromLatin1(name);
  whenModal([wanted](QWidget& w) { return w.objectName() == wanted; },
            std::move(step));
}

template <typename T>
T& child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(QString::fromLatin1(name));
  if (!found)
    qFatal("no child %s in %s", name, qPrintable(parent.objectName()));
  return *found;
}

class ScrivletInIde : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(scrivletLibrary));
    calc = ide.copyExample(QStringLiteral("Calc"));
    ASSERT_TRUE(ide.frame.openProject(calc + QStringLiteral("/Calc.vbp")));
    ide.frame.addins().findAddins({QStringLiteral(SCRIVLET_BUILD_DIR)});
    ASSERT_NE(ide.frame.addins().addin(QStringLiteral("Scrivlet")), nullptr);
  }
  Addin& scrivlet() {
    return *ide.frame.addins().addin(QStringLiteral("Scrivlet"));
  }
  QAction* control(const char* bar, const std::string& caption) {
    return action(*ide.frame.vbe().CommandBars()->Item(bar), caption);
  }

  IdeFixture ide;
  QString calc;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_SCRIVLET_IN_HOST_TEST_UTIL_H_
