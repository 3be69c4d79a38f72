#include "addin/windows/addin_windows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "addin/message_box_test_util.h"
#include "addin/settings_file.h"
#include "addin/windows/options_dialog.h"
#include "addin/windows/progress_dialog.h"
#include "bench/scale/project_generator.h"
#include "platform/disk_vbe.h"

namespace scrivlet {

// The main road over projects on disk: the Options dialog chooses, the
// progress windows compile.
class AddinWindowsTest : public QObject {
  Q_OBJECT

  QTemporaryDir temp;
  CancellingBox box;
  Progress progress;
  DiskFileSystem disk;
  FileServices services{disk, box, progress};
  ProjectSettings settings;
  std::unique_ptr<DiskVBE> vbe;
  std::unique_ptr<AddinWindows> windows;

  QString at(const QString& name) const { return temp.path() + "/" + name; }
  std::string addin() const { return at("addin").toStdString(); }
  static QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                          : QString();
  }
  static void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
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
    QVERIFY2(vbe, error.c_str());
    SettingsFile(*vbe, services, addin()).reloadProjectSettings(settings);
    windows = std::make_unique<AddinWindows>(settings, *vbe, services, addin());
  }
  // Runs `act` on the Options dialog once it is shown modally.
  void whenOptionsShown(std::function<void(OptionsDialog&)> act) {
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, act] {
      auto* dialog =
          qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      poll->deleteLater();
      poll->stop();
      act(*dialog);
    });
    poll->start(5);
  }
  // Runs `act` with the progress window whenever a compile in it has ended
  // and it is still open.
  void whenCompiled(std::function<void(ProgressDialog&)> act) {
    ProgressDialog& window = windows->progressDialog();
    connect(&window, &ProgressDialog::compileFinished, this, [&window, act] {
      if (window.isVisible()) act(window);
    });
  }
  static QString messagesOf(ProgressDialog& window) {
    return window.findChild<QPlainTextEdit*>(QStringLiteral("messages"))
        ->toPlainText();
  }

 private slots:
  void init() {
    QDir(temp.path()).mkpath(QStringLiteral("addin/Templates"));
    for (const char* name : {"chm.scvt", "html.scvt"})
      QFile::copy(QStringLiteral(SCRIVLET_SOURCE_DIR "/templates/") + name,
                  at("addin/Templates/") + name);
  }
  void cleanup() {
    windows.reset();
    vbe.reset();
    settings = ProjectSettings();
    progress = Progress();
  }

  void compileChosenInTheOptions() {
    copyExample(QStringLiteral("Calc"));
    open(at("Calc/Calc.vbp"));
    whenOptionsShown([this](OptionsDialog& dialog) {
      auto* templates = dialog.findChild<QListWidget*>("templateList");
      templates->setCurrentItem(
          templates->findItems("html.scvt", Qt::MatchExactly).value(0));
      auto* output = dialog.findChild<QLineEdit*>("outputPath");
      output->selectAll();
      QTest::keyClicks(output, at("pages"));
      dialog.findChild<QPushButton*>("compileButton")->click();
    });
    QString title, messages;
    whenCompiled([&](ProgressDialog& window) {
      title = window.windowTitle();
      messages = messagesOf(window);
      window.findChild<QPushButton*>("closeButton")->click();
    });
    QDir(temp.path()).mkpath("pages");
    windows->Show();
    QCOMPARE(title, QStringLiteral("Compilation status:"));
    QVERIFY2(messages.isEmpty() || !messages.contains("ERROR"),
             qPrintable(messages));
    QVERIFY(QFile::exists(at("pages/Calc.htm")));
    QVERIFY(QFile::exists(at("pages/Calculator.htm")));
    const QString file = read(at("Calc/Calc.scriv"));
    QVERIFY(file.contains("\r\ntemplatePath = html.scvt\r\n"));
    QVERIFY(file.contains("\r\noutputPath = " + at("pages") + "\r\n"));
  }

  void cancelStopsALargeCompileAndSavesNothing() {
    QDir(temp.path()).mkpath("big");
    GeneratedProject big = generateProject(at("big").toStdString(), 20000);
    QMap<QString, QString> before;
    for (const std::string& module : big.files)
      before[QString::fromStdString(module)] =
          read(QString::fromStdString(module));
    open(QString::fromStdString(big.vbpPath));
    settings.templatePath = addin() + "/Templates/html.scvt";
    settings.comContextID = true;
    settings.comWriteDescription = true;
    whenOptionsShown([](OptionsDialog& dialog) {
      dialog.findChild<QPushButton*>("compileButton")->click();
    });
    ProgressDialog& window = windows->progressDialog();
    auto* status = window.findChild<QStatusBar*>();
    bool cancelled = false;
    connect(
        status, &QStatusBar::messageChanged, this, [&](const QString& text) {
          if (cancelled || !text.startsWith("Compiling: ")) return;
          cancelled = true;
          // The user's click, waiting for the compile's next check.
          QTimer::singleShot(0, window.findChild<QPushButton*>("cancelButton"),
                             &QPushButton::click);
        });
    QString title;
    whenCompiled([&](ProgressDialog& shown) {
      title = shown.windowTitle();
      shown.findChild<QPushButton*>("closeButton")->click();
    });
    windows->Show();
    QVERIFY(cancelled);
    QCOMPARE(title, QStringLiteral("Compilation aborted by user"));
    // The compile stopped long before the end: no contents, few pages.
    QDir output(QString::fromStdString(settings.outputPath));
    QVERIFY(output.entryList(QDir::Files).size() < 100);
    for (auto it = before.begin(); it != before.end(); ++it)
      QCOMPARE(read(it.key()), it.value());
  }

  void groupOfThreeEndsWithEveryMessage() {
    QByteArray group = "VBGROUP 5.0\r\n";
    for (const char* name : {"One", "Two", "Three"}) {
      copyExample(name);
      QByteArray scriv = "#Scrivlet Project Settings#\r\ntemplateFolder = " +
                         at("addin/Templates").toUtf8() +
                         "\r\ntemplatePath = html.scvt\r\ncomModules = modMath";
      write(at(QString(name) + "/Calc.scriv"), scriv);
      group += QByteArray(name == std::string("One") ? "StartupProject="
                                                     : "Project=") +
               name + "/Calc.vbp\r\n";
    }
    write(at("Group.vbg"), group);
    open(at("Group.vbg"));
    whenOptionsShown([](OptionsDialog& dialog) {
      dialog.findChild<QPushButton*>("compileGroupButton")->click();
    });
    int stayed = 0;
    QString messages;
    whenCompiled([&](ProgressDialog& window) {
      ++stayed;
      messages = messagesOf(window);
      window.findChild<QPushButton*>("closeButton")->click();
    });
    windows->Show();
    QCOMPARE(stayed, 1);
    for (const char* name : {"One", "Two", "Three"}) {
      QVERIFY2(messages.contains("\nDocumentation written to " +
                                 at(QString(name) + "/Scriv")),
               qPrintable(messages));
      QVERIFY(QFile::exists(at(QString(name) + "/Scriv/Calc.htm")));
    }
    QVERIFY(progress.groupLog.empty());
  }
};

QObject* newAddinWindowsTest() { return new AddinWindowsTest; }

}  // namespace scrivlet

#include "addin_windows_test.moc"
