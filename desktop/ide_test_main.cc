// The desktop host's tests: GoogleTest cases that drive the host's real
// windows with QtTest's input functions on the offscreen platform. The
// per-user configuration goes to a scratch folder, so that no test reads or
// writes the user's own choices.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
