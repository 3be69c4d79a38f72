#include "addin/windows/compile_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "addin/connect.h"
#include "addin/settings_file.h"
#include "addin/windows/options_dialog.h"
#include "addin/windows/progress_dialog.h"
#include "addin/windows/qt_addin_windows.h"
#include "addin/windows/screenshot_test_util.h"
#include "base/message_box_test_util.h"
#include "bench/scale/project_generator.h"
#include "platform/disk_vbe.h"
#include "platform/process.h"

namespace scrivlet {
namespace {

// The main road over projects on disk, as the connection drives it: the
// Options dialog chooses, the progress windows compile.
class CompileWindowsTest : public ::testing::Test {
 protected:
  CompileWindowsTest() {
    QDir(temp.path()).mkpath("addin/Templates");
    for (const char* name : {"chm.scvt", "html.scvt"})
      QFile::copy(QStringLiteral(SCRIVLET_SOURCE_DIR "/templates/") + name,
                  at("addin/Templates/") + name);
  }

  QString at(const QString& name) const { return temp.path() + "/" + name; }
  std::string addin() const { return at("addin").toStdString(); }
  static QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                          : QString();
  }
  static void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void copyExample(const QString& folder) {
    QDir(temp.path()).mkpath(folder);
    QDir example(QStringLiteral(SCRIVLET_SOURCE_DIR "/examples/Calc"));
    for (const QString& name : example.entryList(QDir::Files))
      QFile::copy(example.filePath(name), at(folder + "/" + name));
  }
  void open(const QString& project) {
    std::string error;
    vbe = openProjectOrGroup(project.toStdString(), error);
    ASSERT_TRUE(vbe) << error;
    windows.runCommand = runAndWait;
    connection = std::make_unique<connect>(windows, disk, at("prefs.ini").toStdString(),
                                           addin());
    connection->VBInstance = vbe.get();
    connection->reloadProjectSettings();
  }
  // Runs `act` on the Options dialog once it is shown modally.
  void whenOptionsShown(std::function<void(OptionsDialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
      auto* dialog =
          qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      poll->stop();
      poll->deleteLater();
      act(*dialog);
    });
    poll->start(5);
  }
  // Runs `act` with the progress window whenever a compile in it has ended
  // and it is still open.
  void whenCompiled(std::function<void(ProgressDialog&)> act) {
    ProgressDialog& window = windows.compileWindows(*connection).progressDialog();
    QObject::connect(&window, &ProgressDialog::compileFinished, &window,
                     [&window, act] {
                       if (window.isVisible()) act(window);
                     });
  }
  static QString messagesOf(ProgressDialog& window) {
    return window.findChild<QPlainTextEdit*>("messages")->toPlainText();
  }
  static void click(QWidget& window, const char* button) {
    window.findChild<QPushButton*>(button)->click();
  }

  QTemporaryDir temp;
  DiskFileSystem disk;
  std::unique_ptr<DiskVBE> vbe;
  QtAddinWindows windows;
  std::unique_ptr<connect> connection;
};

TEST_F(CompileWindowsTest, CompilesWhatTheOptionsChose) {
  copyExample("Calc");
  open(at("Calc/Calc.vbp"));
  QDir(temp.path()).mkpath("pages");
  whenOptionsShown([this](OptionsDialog& dialog) {
    auto* templates = dialog.findChild<QListWidget*>("templateList");
    templates->setCurrentItem(
        templates->findItems("html.scvt", Qt::MatchExactly).value(0));
    auto* output = dialog.findChild<QLineEdit*>("outputPath");
    output->selectAll();
    QTest::keyClicks(output, at("pages"));
    click(dialog, "compileButton");
  });
  QString title, messages;
  whenCompiled([&](ProgressDialog& window) {
    title = window.windowTitle();
    messages = messagesOf(window);
    saveScreenshot(window, "progress-calc");
    click(window, "closeButton");
  });
  connection->Show();
  EXPECT_EQ(title, "Compilation status:");
  EXPECT_TRUE(messages.endsWith("Documentation written to " + at("pages")))
      << messages.toStdString();
  EXPECT_TRUE(QFile::exists(at("pages/Calc.htm")));
  EXPECT_TRUE(QFile::exists(at("pages/Calculator.htm")));
  const QString file = read(at("Calc/Calc.scriv"));
  EXPECT_TRUE(file.contains("\r\ntemplatePath = html.scvt\r\n"));
  EXPECT_TRUE(file.contains("\r\noutputPath = pages\r\n") ||
              file.contains("\r\noutputPath = " + at("pages") + "\r\n"))
      << file.toStdString();
}

TEST_F(CompileWindowsTest, CancelStopsALargeCompileAndSavesNothing) {
  QDir(temp.path()).mkpath("big");
  GeneratedProject big = generateProject(at("big").toStdString(), 20000);
  QMap<QString, QString> before;
  for (const std::string& module : big.files)
    before[QString::fromStdString(module)] =
        read(QString::fromStdString(module));
  open(QString::fromStdString(big.vbpPath));
  connection->settings.templatePath = addin() + "/Templates/html.scvt";
  connection->settings.comContextID = true;
  connection->settings.comWriteDescription = true;
  whenOptionsShown(
      [](OptionsDialog& dialog) { click(dialog, "compileButton"); });
  ProgressDialog& window = windows.compileWindows(*connection).progressDialog();
  bool cancelled = false;
  QObject::connect(window.findChild<QStatusBar*>(), &QStatusBar::messageChanged,
                   &window, [&](const QString& text) {
                     if (cancelled || !text.startsWith("Compiling: ")) return;
                     cancelled = true;
                     // The user's click, waiting for the compile's next check.
                     QTimer::singleShot(
                         0, window.findChild<QPushButton*>("cancelButton"),
                         &QPushButton::click);
                   });
  QString title;
  whenCompiled([&](ProgressDialog& shown) {
    title = shown.windowTitle();
    click(shown, "closeButton");
  });
  connection->Show();
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(title, "Compilation aborted by user");
  // Stopped long before the end: a handful of pages of thousands.
  QDir output(QString::fromStdString(connection->settings.outputPath));
  EXPECT_LT(output.entryList(QDir::Files).size(), 100);
  for (auto it = before.begin(); it != before.end(); ++it)
    EXPECT_EQ(read(it.key()), it.value()) << it.key().toStdString();
}

TEST_F(CompileWindowsTest, TheLastWindowOfAGroupHoldsEveryMessage) {
  QByteArray group = "VBGROUP 5.0\r\n";
  for (QString name : {"One", "Two", "Three"}) {
    copyExample(name);
    write(at(name + "/Calc.scriv"),
          "#Scrivlet Project Settings#\r\ntemplateFolder = " +
              at("addin/Templates").toUtf8() +
              "\r\ntemplatePath = html.scvt\r\ncomModules = modMath");
    group += (name == "One" ? "StartupProject=" : "Project=") + name.toUtf8() +
             "/Calc.vbp\r\n";
  }
  write(at("Group.vbg"), group);
  open(at("Group.vbg"));
  whenOptionsShown(
      [](OptionsDialog& dialog) { click(dialog, "compileGroupButton"); });
  int stayed = 0;
  QString messages;
  whenCompiled([&](ProgressDialog& window) {
    ++stayed;
    messages = messagesOf(window);
    click(window, "closeButton");
  });
  connection->Show();
  EXPECT_EQ(stayed, 1);
  for (QString name : {"One", "Two", "Three"}) {
    EXPECT_TRUE(
        messages.contains("\nDocumentation written to " + at(name + "/Scriv")))
        << messages.toStdString();
    EXPECT_TRUE(QFile::exists(at(name + "/Scriv/Calc.htm")));
  }
  EXPECT_TRUE(connection->progress.groupLog.empty());
}

}  // namespace
}  // namespace scrivlet
