#include "addin/windows/options_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "addin/message_box_test_util.h"
#include "addin/settings_file.h"
#include "addin/windows/folder_browse_dialog.h"
#include "addin/windows/indent_example_window.h"
#include "addin/windows/text_input_dialog.h"
#include "screenshot.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {

namespace {

// Two open projects, for "Compile Group".
class GroupVBE : public FakeVBE {
 public:
  using FakeVBE::FakeVBE;
  std::vector<VBProject*> VBProjects() const override {
    return {ActiveVBProject(), &other};
  }
  mutable FakeProject other;
};

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

  QTemporaryDir temp;
  std::unique_ptr<FakeProject> project;
  std::unique_ptr<GroupVBE> vbe;
  DiskFileSystem disk;
  CancellingBox box;
  Progress progress;
  FileServices services{disk, box, progress};
  ProjectSettings settings;
  std::unique_ptr<OptionsModel> model;
  std::unique_ptr<OptionsDialog> dialog;

  QString at(const QString& name) const { return temp.path() + "/" + name; }
  std::string addin() const { return at("addin").toStdString(); }
  template <class T>
  T* child(const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  QString fileText() {
    QFile file(at("Calc.scriv"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                          : QString();
  }
  // Leaves a text box as the user does: types, then moves on.
  void typeInto(const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
  }

 private slots:
  void init() {
    QDir(temp.path()).mkpath(QStringLiteral("addin/Templates"));
    for (const char* name : {"chm.scvt", "html.scvt", "markdown.scvt"})
      QFile::copy(QStringLiteral(SCRIVLET_SOURCE_DIR "/templates/") + name,
                  at("addin/Templates/") + name);
    project = std::make_unique<FakeProject>(at("Calc.vbp").toStdString());
    project->addModule(vbext_ct_StdModule, "modMath", {});
    project->addModule(vbext_ct_ClassModule, "Calculator", {});
    project->addModule(vbext_ct_ClassModule, "History", {});
    project->addModule(vbext_ct_VBForm, "frmCalc", {});
    vbe = std::make_unique<GroupVBE>(project.get());
    settings = ProjectSettings();
    SettingsFile(*vbe, services, addin()).setDefaultSettings(settings);
    settings.outputPath = at("Calc/Scriv").toStdString();
    model = std::make_unique<OptionsModel>(settings, *vbe, services, addin());
    dialog = std::make_unique<OptionsDialog>(*model);
    dialog->resize(760, 520);
    dialog->fillValues();
    dialog->show();
  }
  void cleanup() {
    dialog.reset();
    model.reset();
    QFile::remove(at("Calc.scriv"));
  }

  void showsEveryTabWithItsTooltip() {
    auto* tabs = child<QTabWidget>("tabs");
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
    QStringList shown;
    for (int i = 0; i < tabs->count(); ++i)
      shown << tabs->tabText(i) + ": " + tabs->tabToolTip(i);
    QCOMPARE(shown,
             (QStringList{
                 "Compile: Compile options",
                 "Comment: Select the fields or tags that will be "
                 "automatically added to comment when using \"Add Scrivlet\" "
                 "command from pop-up menu.",
                 "Output: Set output path and format",
                 "Miscellanous: Indent mode and title page text"}));
    QCOMPARE(child<QLabel>("projectLabel")->text(),
             QStringLiteral("Project1 Project:"));
    const char* names[] = {"compile", "comment", "output", "miscellaneous"};
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      saveScreenshot(*dialog, QStringLiteral("options-%1").arg(names[i]));
    }
    // Ctrl+Tab goes round.
    QTest::keyClick(tabs->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(tabs->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
  }

  void changesReachTheSettingsOnlyWhenApplied() {
    child<QCheckBox>("comPrivate")->click();
    child<QCheckBox>("addUser2")->click();
    typeInto("user2Name", QStringLiteral("two words"));
    QCOMPARE(child<QLineEdit>("user2Name")->text(), QStringLiteral("user2"));
    typeInto("user3Name", QStringLiteral(" Todo "));
    QCOMPARE(child<QLineEdit>("user3Name")->text(), QStringLiteral("Todo"));
    auto* modules = child<QListWidget>("moduleList");
    QCOMPARE(modules->count(), 4);
    modules->item(1)->setCheckState(Qt::Unchecked);
    child<QRadioButton>("ignoreIndent")->click();
    child<QPushButton>("cancelButton")->click();
    QVERIFY(!settings.comPrivate);
    QCOMPARE(settings.userName[2], std::string("user3"));
    QCOMPARE(settings.selectedModules.size(), std::size_t{4});
    QCOMPARE(fileText(), QString());

    dialog->fillValues();
    QVERIFY(!child<QCheckBox>("comPrivate")->isChecked());
    QCOMPARE(modules->item(1)->checkState(), Qt::Checked);
    child<QCheckBox>("comPrivate")->click();
    modules->item(1)->setCheckState(Qt::Unchecked);
    typeInto("user3Name", QStringLiteral("Todo"));
    child<QPlainTextEdit>("titlePageText")->setPlainText("First\nSecond");
    child<QRadioButton>("sourceByTag")->click();
    child<QPushButton>("applyButton")->click();
    QVERIFY(settings.comPrivate);
    QCOMPARE(settings.titlePageText, std::string("First\rSecond"));
    QCOMPARE(settings.insertSourceGlobal, 2);
    const QString file = fileText();
    QVERIFY(file.contains("\r\ncomPrivate = 1\r\n"));
    QVERIFY(file.contains("\r\nuser3Name = Todo\r\n"));
    QVERIFY(file.contains("titlePageText = First^scrvEOL^Second\r\n"));
    QVERIFY(
        file.endsWith("comModules = modMath\r\ncomModules = History\r\n"
                      "comModules = frmCalc\r\ncomEnum = 1\r\ncomType = 1\r\n"
                      "codePage = 1252"));
  }

  void compileButtonsAskForTheCompileAndClose() {
    QVERIFY(child<QPushButton>("compileGroupButton")->isEnabled());
    child<QPushButton>("compileGroupButton")->click();
    QVERIFY(model->startCompile);
    QVERIFY(progress.compileGroup);
    QVERIFY(!dialog->isVisible());
    QVERIFY(fileText().startsWith("#Scrivlet Project Settings#"));

    FakeVBE single(project.get());
    OptionsModel alone(settings, single, services, addin());
    OptionsDialog aloneDialog(alone);
    aloneDialog.fillValues();
    QVERIFY(!aloneDialog.findChild<QPushButton*>("compileGroupButton")
                 ->isEnabled());
    QVERIFY(aloneDialog.findChild<QPushButton*>("compileButton")->isEnabled());

    FakeVBE none(nullptr);
    OptionsModel nothing(settings, none, services, addin());
    OptionsDialog empty(nothing);
    empty.fillValues();
    QStringList usable;
    for (QPushButton* b : empty.findChildren<QPushButton*>())
      if (b->window() == &empty && b->isEnabledTo(&empty)) usable << b->text();
    usable.sort();
    QCOMPARE(usable, (QStringList{"Cancel", "Help"}));
    QCOMPARE(empty.findChild<QLabel*>("projectLabel")->text(),
             QStringLiteral("No project opened !"));
  }

  void defaultTextImportAndHelp() {
    QString before;
    dialog->runModal = [&](QDialog& shown) {
      auto& input = dynamic_cast<TextInputDialog&>(shown);
      before = input.findChild<QLineEdit*>()->text();
      input.findChild<QLineEdit*>()->setText(QStringLiteral("to do"));
      input.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
      return int(QDialog::Accepted);
    };
    model->working().userDefault[3] = "later";
    child<QPushButton>("user4Default")->click();
    QCOMPARE(before, QStringLiteral("later"));
    QCOMPARE(model->working().userDefault[3], std::string("to do"));

    QFile other(at("other.scriv"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write(
        "#Scrivlet Project Settings#\r\naddUser1 = 1\r\nuser1Name = Note");
    other.close();
    QFile wrong(at("wrong.scriv"));
    QVERIFY(wrong.open(QIODevice::WriteOnly));
    wrong.write("Scrivlet\r\naddUser5 = 1\r\nuser5Name = Wrong");
    wrong.close();
    QString chosen = at("wrong.scriv");
    dialog->chooseImportFile = [&] { return chosen; };
    child<QPushButton>("importButton")->click();
    QVERIFY(!child<QCheckBox>("addUser5")->isChecked());
    QCOMPARE(child<QLineEdit>("user5Name")->text(), QStringLiteral("user5"));
    chosen = at("other.scriv");
    child<QPushButton>("importButton")->click();
    QVERIFY(child<QCheckBox>("addUser1")->isChecked());
    QCOMPARE(child<QLineEdit>("user1Name")->text(), QStringLiteral("Note"));

    QString opened;
    dialog->open = [&](const QString& path) {
      opened = path;
      return false;
    };
    child<QPushButton>("helpButton")->click();
    QCOMPARE(opened, at("addin/manual/index.html"));
  }

  void templatesFoldersAndTheIndentExample() {
    auto* templates = child<QListWidget>("templateList");
    QCOMPARE(templates->count(), 3);
    QCOMPARE(templates->currentItem()->text(), QStringLiteral("chm.scvt"));
    templates->setCurrentRow(1);
    QCOMPARE(QString::fromStdString(model->working().templatePath),
             at("addin/Templates/html.scvt"));
    QVERIFY(child<QPlainTextEdit>("templateDescription")
                ->toPlainText()
                .startsWith("HTML pages"));

    QDir(temp.path()).mkpath(QStringLiteral("mine"));
    QFile::copy(at("addin/Templates/html.scvt"), at("mine/own.scvt"));
    QString prompt, prompt2;
    dialog->runModal = [&](QDialog& shown) {
      auto& browse = dynamic_cast<FolderBrowseDialog&>(shown);
      prompt = QString::fromStdString(browse.model().Prompt1);
      auto* tree = browse.findChild<QTreeView*>();
      auto* folders = static_cast<QFileSystemModel*>(tree->model());
      tree->setCurrentIndex(folders->index(at("mine")));
      prompt2 = QString::fromStdString(browse.model().Prompt2);
      browse.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
      return int(QDialog::Accepted);
    };
    child<QPushButton>("templateFolderBrowse")->click();
    QCOMPARE(prompt, QStringLiteral("Specify the templates folder"));
    QCOMPARE(prompt2, at("mine"));
    QCOMPARE(child<QLineEdit>("templateFolder")->text(), at("mine"));
    QCOMPARE(templates->count(), 1);
    QCOMPARE(child<QPlainTextEdit>("templateDescription")->toPlainText(),
             QString());
    child<QPushButton>("outputFolderBrowse")->click();
    QCOMPARE(prompt, QStringLiteral("Specify the output folder"));
    QCOMPARE(child<QLineEdit>("outputPath")->text(), at("mine"));
    QCOMPARE(QString::fromStdString(model->working().outputPath), at("mine"));

    int mode = -1;
    dialog->runModal = [&](QDialog& shown) {
      mode = dynamic_cast<IndentExampleWindow&>(shown).indentMode;
      return int(QDialog::Rejected);
    };
    child<QRadioButton>("ignoreIndent")->click();
    child<QPushButton>("showExampleButton")->click();
    QCOMPARE(mode, 1);
    child<QRadioButton>("keepIndent")->click();
    child<QPushButton>("showExampleButton")->click();
    QCOMPARE(mode, 0);
  }
};

QObject* newOptionsDialogTest() { return new OptionsDialogTest; }

}  // namespace scrivlet

#include "options_dialog_test.moc"
