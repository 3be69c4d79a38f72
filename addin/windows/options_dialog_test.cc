#include "addin/windows/options_dialog.h"

#include <gtest/gtest.h>

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
#include <QTest>
#include <QTreeView>

#include "addin/settings_file.h"
#include "addin/windows/folder_browse_dialog.h"
#include "addin/windows/indent_example_window.h"
#include "addin/windows/screenshot_test_util.h"
#include "addin/windows/text_input_dialog.h"
#include "base/message_box_test_util.h"
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

// The dialog over Calc.vbp with four modules, in a folder beside an add-in
// folder with three of the shipped templates; default settings.
class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    QDir(temp.path()).mkpath("addin/Templates");
    for (const char* name : {"chm.scvt", "html.scvt", "markdown.scvt"})
      QFile::copy(QStringLiteral(SCRIVLET_SOURCE_DIR "/templates/") + name,
                  at("addin/Templates/") + name);
    for (const char* name : {"modMath", "Calculator", "History"})
      project.addModule(
          name[0] == 'm' ? vbext_ct_StdModule : vbext_ct_ClassModule, name, {});
    project.addModule(vbext_ct_VBForm, "frmCalc", {});
    SettingsFile(vbe, services, addin()).setDefaultSettings(settings);
    settings.outputPath = at("Calc/Scriv").toStdString();
    dialog.fillValues();
    dialog.show();
  }

  QString at(const QString& name) const { return temp.path() + "/" + name; }
  std::string addin() const { return at("addin").toStdString(); }
  template <class T>
  T* child(const char* name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString fileText() {
    QFile file(at("Calc.scriv"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                          : QString();
  }
  // Types into a text box and leaves it, as the user does.
  void typeInto(const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
  }

  QTemporaryDir temp;
  FakeProject project{at("Calc.vbp").toStdString()};
  GroupVBE vbe{&project};
  DiskFileSystem disk;
  CancellingBox box;
  Progress progress;
  FileServices services{disk, box, progress};
  ProjectSettings settings;
  OptionsModel model{settings, vbe, services, addin()};
  OptionsDialog dialog{model};
};

TEST_F(OptionsDialogTest, ShowsEveryTabWithItsTooltip) {
  auto* tabs = child<QTabWidget>("tabs");
  EXPECT_EQ(dialog.windowTitle(), "Options");
  QStringList shown;
  for (int i = 0; i < tabs->count(); ++i)
    shown << tabs->tabText(i) + ": " + tabs->tabToolTip(i);
  EXPECT_EQ(shown,
            (QStringList{"Compile: Compile options",
                         "Comment: Select the fields or tags that will be "
                         "automatically added to comment when using \"Add "
                         "Scrivlet\" command from pop-up menu.",
                         "Output: Set output path and format",
                         "Miscellanous: Indent mode and title page text"}));
  EXPECT_EQ(child<QLabel>("projectLabel")->text(), "Project1 Project:");
  const char* names[] = {"compile", "comment", "output", "miscellaneous"};
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    saveScreenshot(dialog, std::string("options-") + names[i]);
  }
  // Ctrl+Tab goes round.
  QTest::keyClick(tabs->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 0);
  QTest::keyClick(tabs->currentWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(OptionsDialogTest, ChangesReachTheSettingsOnlyWhenApplied) {
  child<QCheckBox>("comPrivate")->click();
  child<QCheckBox>("addUser2")->click();
  typeInto("user2Name", "two words");
  EXPECT_EQ(child<QLineEdit>("user2Name")->text(), "user2");
  typeInto("user3Name", " Todo ");
  EXPECT_EQ(child<QLineEdit>("user3Name")->text(), "Todo");
  auto* modules = child<QListWidget>("moduleList");
  ASSERT_EQ(modules->count(), 4);
  modules->item(1)->setCheckState(Qt::Unchecked);
  child<QRadioButton>("ignoreIndent")->click();
  child<QPushButton>("cancelButton")->click();
  EXPECT_FALSE(settings.comPrivate);
  EXPECT_EQ(settings.userName[2], "user3");
  EXPECT_EQ(settings.selectedModules.size(), 4u);
  EXPECT_EQ(settings.indentMode, 0);
  EXPECT_EQ(fileText(), "");

  dialog.fillValues();
  EXPECT_FALSE(child<QCheckBox>("comPrivate")->isChecked());
  EXPECT_EQ(modules->item(1)->checkState(), Qt::Checked);
  child<QCheckBox>("comPrivate")->click();
  modules->item(1)->setCheckState(Qt::Unchecked);
  typeInto("user3Name", "Todo");
  child<QPlainTextEdit>("titlePageText")->setPlainText("First\nSecond");
  child<QRadioButton>("sourceByTag")->click();
  child<QPushButton>("applyButton")->click();
  EXPECT_TRUE(settings.comPrivate);
  EXPECT_EQ(settings.titlePageText, "First\rSecond");
  EXPECT_EQ(settings.insertSourceGlobal, 2);
  const QString file = fileText();
  EXPECT_TRUE(file.contains("\r\ncomPrivate = 1\r\n"));
  EXPECT_TRUE(file.contains("\r\nuser3Name = Todo\r\n"));
  EXPECT_TRUE(file.contains("\r\ntitlePageText = First^scrvEOL^Second\r\n"));
  EXPECT_TRUE(
      file.contains("\r\ncomModules = modMath\r\ncomModules = History"
                    "\r\ncomModules = frmCalc\r\n"))
      << file.toStdString();
}

TEST_F(OptionsDialogTest, CompileGroupNeedsTwoProjectsAndNoProjectLeavesHelp) {
  EXPECT_TRUE(child<QPushButton>("compileGroupButton")->isEnabled());
  child<QPushButton>("compileGroupButton")->click();
  EXPECT_TRUE(model.startCompile);
  EXPECT_TRUE(progress.compileGroup);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(fileText().startsWith("#Scrivlet Project Settings#\r\n"));

  FakeVBE single(&project);
  OptionsModel alone(settings, single, services, addin());
  OptionsDialog aloneDialog(alone);
  aloneDialog.fillValues();
  EXPECT_FALSE(
      aloneDialog.findChild<QPushButton*>("compileGroupButton")->isEnabled());
  EXPECT_TRUE(
      aloneDialog.findChild<QPushButton*>("compileButton")->isEnabled());

  FakeVBE none(nullptr);
  OptionsModel nothing(settings, none, services, addin());
  OptionsDialog empty(nothing);
  empty.fillValues();
  QStringList usable;
  for (QPushButton* b : empty.findChildren<QPushButton*>())
    if (b->window() == &empty && b->isEnabledTo(&empty)) usable << b->text();
  usable.sort();
  EXPECT_EQ(usable, (QStringList{"Cancel", "Help"}));
  EXPECT_EQ(empty.findChild<QLabel*>("projectLabel")->text(),
            "No project opened !");
}

TEST_F(OptionsDialogTest, DefaultTextImportAndHelp) {
  QString before;
  dialog.runModal = [&](QDialog& shown) {
    auto& input = dynamic_cast<TextInputDialog&>(shown);
    before = input.findChild<QLineEdit*>()->text();
    input.findChild<QLineEdit*>()->setText("to do");
    input.findChild<QPushButton*>("okButton")->click();
    return int(QDialog::Accepted);
  };
  model.working().userDefault[3] = "later";
  child<QPushButton>("user4Default")->click();
  EXPECT_EQ(before, "later");
  EXPECT_EQ(model.working().userDefault[3], "to do");

  QFile other(at("other.scriv"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.write(
      "#Scrivlet Project Settings#\r\naddUser1 = 1\r\nuser1Name = Note");
  other.close();
  QFile wrong(at("wrong.scriv"));
  ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
  wrong.write("Scrivlet\r\naddUser5 = 1\r\nuser5Name = Wrong");
  wrong.close();
  QString chosen = at("wrong.scriv");
  dialog.chooseImportFile = [&] { return chosen; };
  child<QPushButton>("importButton")->click();
  EXPECT_FALSE(child<QCheckBox>("addUser5")->isChecked());
  EXPECT_EQ(child<QLineEdit>("user5Name")->text(), "user5");
  chosen = at("other.scriv");
  child<QPushButton>("importButton")->click();
  EXPECT_TRUE(child<QCheckBox>("addUser1")->isChecked());
  EXPECT_EQ(child<QLineEdit>("user1Name")->text(), "Note");

  QString opened;
  dialog.open = [&](const QString& path) {
    opened = path;
    return false;
  };
  child<QPushButton>("helpButton")->click();
  EXPECT_EQ(opened, at("addin/manual/index.html"));
}

TEST_F(OptionsDialogTest, TemplatesFoldersAndTheIndentExample) {
  auto* templates = child<QListWidget>("templateList");
  ASSERT_EQ(templates->count(), 3);
  EXPECT_EQ(templates->currentItem()->text(), "chm.scvt");
  templates->setCurrentRow(1);
  EXPECT_EQ(model.working().templatePath,
            at("addin/Templates/html.scvt").toStdString());
  EXPECT_TRUE(child<QPlainTextEdit>("templateDescription")
                  ->toPlainText()
                  .startsWith("HTML pages"));

  QDir(temp.path()).mkpath("mine");
  QFile::copy(at("addin/Templates/html.scvt"), at("mine/own.scvt"));
  QString prompt, prompt2;
  dialog.runModal = [&](QDialog& shown) {
    auto& browse = dynamic_cast<FolderBrowseDialog&>(shown);
    prompt = QString::fromStdString(browse.model().Prompt1);
    auto* tree = browse.findChild<QTreeView*>();
    auto* folders = static_cast<QFileSystemModel*>(tree->model());
    tree->setCurrentIndex(folders->index(at("mine")));
    prompt2 = QString::fromStdString(browse.model().Prompt2);
    browse.findChild<QPushButton*>("okButton")->click();
    return int(QDialog::Accepted);
  };
  child<QPushButton>("templateFolderBrowse")->click();
  EXPECT_EQ(prompt, "Specify the templates folder");
  EXPECT_EQ(prompt2, at("mine"));
  EXPECT_EQ(child<QLineEdit>("templateFolder")->text(), at("mine"));
  EXPECT_EQ(templates->count(), 1);
  EXPECT_EQ(child<QPlainTextEdit>("templateDescription")->toPlainText(), "");
  child<QPushButton>("outputFolderBrowse")->click();
  EXPECT_EQ(prompt, "Specify the output folder");
  EXPECT_EQ(child<QLineEdit>("outputPath")->text(), at("mine"));
  EXPECT_EQ(model.working().outputPath, at("mine").toStdString());

  int mode = -1;
  dialog.runModal = [&](QDialog& shown) {
    mode = dynamic_cast<IndentExampleWindow&>(shown).indentMode;
    return int(QDialog::Rejected);
  };
  child<QRadioButton>("ignoreIndent")->click();
  child<QPushButton>("showExampleButton")->click();
  EXPECT_EQ(mode, 1);
  child<QRadioButton>("keepIndent")->click();
  child<QPushButton>("showExampleButton")->click();
  EXPECT_EQ(mode, 0);
}

}  // namespace
}  // namespace scrivlet
