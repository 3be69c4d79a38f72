#include "addin/windows/edit_comment.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "addin/windows/edit_comment_options.h"
#include "addin/windows/interest_links.h"
#include "addin/windows/screenshot_test_util.h"
#include "addin/windows/settings_grid.h"
#include "base/file_system.h"
#include "base/progress.h"
#include "platform/disk_code_module.h"
#include "platform/disk_vbe.h"
#include "source/crlf_test_util.h"

namespace scrivlet {

namespace {

const std::string kCalc = crlf({
    "Option Explicit",
    "",
    "'**",
    "' Adds two numbers.",
    "'@param        a Required. Long. The first.",
    "'@param        b Required. Long. The second.",
    "'@return       Long. The sum.",
    "Public Function Add(ByVal a As Long, ByVal b As Long) As Long",
    "End Function",
    "Public Sub Reset()",
    "End Sub",
});

class RecordingMessageBox : public MessageBox {
 public:
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon) override {
    shown += title + "|" + text + "\n";
    return cancellingAnswer(buttons);
  }
  std::string shown;
};

// The editor opened on Calc.Add of kCalc.
struct Editing {
  Editing()
      : module(DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc)),
        model(settings) {
    model.openAtLine(*module, 8);
  }
  std::unique_ptr<DiskCodeModule> module;
  ProjectSettings settings;
  CommentEditorModel model;
};

// Typing into a box and leaving it, as the user does.
void typeInto(QWidget* box, const QString& text) {
  box->setFocus();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) edit->setPlainText(text);
  if (auto* line = qobject_cast<QLineEdit*>(box)) line->setText(text);
  box->clearFocus();
}

template <typename T>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no child %s", name);
  return found;
}

// Runs `step` on the modal window that opens next, once it is up.
void whenModalOpens(std::function<void(QWidget&)> step) {
  QTimer::singleShot(0, [step] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return whenModalOpens(step);
    step(*modal);
  });
}

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TEST(EditComment, TabsCaptionAndApply) {
  Editing e;
  int saves = 0;
  EditCommentServices services;
  services.saveSettings = [&] { ++saves; };
  EditComment dialog(e.model, e.settings, services);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.windowTitle(),
            QStringLiteral("Add - Scrivlet Comment Editor"));
  auto* tabs = child<QTabWidget>(dialog, "tabs");
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i)
    captions << tabs->tabText(i) + " (" + tabs->tabToolTip(i) + ")";
  EXPECT_EQ(captions,
            QStringList(
                {"&Basic (Edit basic fields)", "&Parameters (Edit parameters)",
                 "&References (Edit references to other members or files)",
                 "&Misc (Author, revision, version)",
                 "&User-defined fields (Edit user-defined fields)",
                 "&Source code view (View how the source code comment "
                 "will look like)"}));
  EXPECT_EQ(tabs->currentIndex(), 0);
  auto* description = child<QPlainTextEdit>(dialog, "descriptionBox");
  EXPECT_EQ(description->toPlainText(), QStringLiteral(" Adds two numbers."));

  typeInto(description, "Adds two numbers.\nNever overflows.");
  tabs->setCurrentIndex(1);
  auto* parameters = child<QListWidget>(dialog, "parameterList");
  EXPECT_EQ(parameters->count(), 2);
  parameters->setCurrentRow(1);
  auto* parameterBox = child<QPlainTextEdit>(dialog, "parameterDescriptionBox");
  EXPECT_EQ(parameterBox->toPlainText(),
            QStringLiteral("Required. Long. The second."));
  typeInto(parameterBox, "Required. Long. The other.");
  tabs->setCurrentIndex(3);
  typeInto(child<QLineEdit>(dialog, "authorBox"), QString::fromUtf8("Zoë"));
  child<QCheckBox>(dialog, "includeSourceBox")->setChecked(true);
  child<QCheckBox>(dialog, "updateOnStartupBox")->setChecked(true);
  EXPECT_EQ(e.settings.autoUpdateParams, 0);
  QTest::mouseClick(child<QPushButton>(dialog, "applyButton"), Qt::LeftButton);
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(e.settings.autoUpdateParams, 1);
  EXPECT_EQ(
      QString::fromLatin1(e.module->toBytes().c_str()),
      QString::fromLatin1(
          crlf({"Option Explicit", "", "'**", "'Adds two numbers.",
                "'Never overflows.",
                "'@param        a Required. Long. The first.",
                "'@param        b Required. Long. The other.",
                "'@return       Long. The sum.", "'@author       Zo\xEB",
                "'@includesource yes",
                "Public Function Add(ByVal a As Long, ByVal b As Long) As Long",
                "End Function", "Public Sub Reset()", "End Sub"})
              .c_str()));
  dialog.close();
}

TEST(EditComment, SettingsGridKeys) {
  Editing e;
  EditComment dialog(e.model, e.settings, {});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  child<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
  auto* grid = child<SettingsGrid>(dialog, "settingsGrid");
  QStringList headers;
  for (int c = 0; c < 3; ++c) headers << grid->horizontalHeaderItem(c)->text();
  EXPECT_EQ(headers, QStringList({"Constant Name", "Value", "Description"}));
  EXPECT_TRUE(grid->isEnabled());
  auto* add = child<QPushButton>(dialog, "addSettingButton");
  QTest::mouseClick(add, Qt::LeftButton);
  QTest::mouseClick(add, Qt::LeftButton);
  EXPECT_EQ(grid->rowCount(), 2);

  auto* cell = child<QLineEdit>(dialog, "settingsCellEditor");
  auto* descriptionCell = child<QLineEdit>(dialog, "settingsDescriptionEditor");
  grid->editCell(0, 0);
  EXPECT_TRUE(cell->isVisible());
  QTest::keyClicks(cell, "vbA");
  QTest::keyClick(cell, Qt::Key_Down);  // stores, moves to row 2
  EXPECT_EQ(grid->editedRow(), 1);
  QTest::keyClicks(cell, "vbB");
  QTest::keyClick(cell, Qt::Key_Down);  // the last row: stays
  EXPECT_EQ(grid->editedRow(), 1);
  QTest::keyClick(cell, Qt::Key_Up);
  EXPECT_EQ(grid->editedRow(), 0);
  QTest::keyClick(cell, Qt::Key_Up);  // never into the header
  EXPECT_EQ(grid->editedRow(), 0);
  QTest::keyClick(cell, Qt::Key_Escape);
  EXPECT_TRUE(!cell->isVisible());
  grid->editCell(0, 1);
  QTest::keyClicks(cell, "1");
  QTest::keyClick(cell, Qt::Key_Escape);  // dropped
  grid->editCell(1, 1);
  QTest::keyClicks(cell, "2");
  QTest::keyClick(cell, Qt::Key_Return);
  grid->editCell(0, 2);
  EXPECT_TRUE(descriptionCell->isVisible());
  QTest::keyClicks(descriptionCell, "First.");
  saveScreenshot(dialog, "edit_comment_settings_grid");
  QTest::keyClick(descriptionCell, Qt::Key_Down);  // no move in this box
  EXPECT_EQ(grid->editedRow(), 0);
  // Leaving the box stores it.
  child<QListWidget>(dialog, "parameterList")->setFocus();
  EXPECT_TRUE(!descriptionCell->isVisible());
  grid->editCell(1, 2);
  QTest::keyClicks(descriptionCell, "Gone.");
  QTest::keyClick(descriptionCell, Qt::Key_Escape);

  EXPECT_EQ(QString::fromStdString(e.model.sourceCodeView()),
            QStringLiteral("'**\r\n' Adds two numbers.\r\n"
                           "'@param        a Required. Long. The first.\r\n"
                           "'@param        b Required. Long. The second.\r\n"
                           "'@set          a vbA  First.\r\n"
                           "'@set          a vbB 2 \r\n"
                           "'@return       Long. The sum."));
  // Remove takes the current row.
  grid->setCurrentCell(0, 0);
  QTest::mouseClick(child<QPushButton>(dialog, "removeSettingButton"),
                    Qt::LeftButton);
  EXPECT_EQ(grid->rowCount(), 1);
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("vbB"));
  dialog.close();
}

TEST(EditComment, ReferencesTab) {
  Editing e;
  EditComment dialog(e.model, e.settings, {});
  std::vector<std::string> asked;
  dialog.setReferencePicker([&](ReferenceModel& reference) {
    asked.push_back(
        reference.selected() + "|" +
        (reference.choiceVisible() ? "both" : "one") + "|" +
        (reference.page() == ReferenceModel::Page::file ? "file" : "member"));
    return std::string(
        reference.page() == ReferenceModel::Page::file ? "\"ex.txt" : ".Reset");
  });
  dialog.setInterestChooser([](InterestLinksModel& links) {
    links.setChosen(1, false);
    links.addSelected();
  });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  child<QTabWidget>(dialog, "tabs")->setCurrentIndex(2);

  auto* seeLink = child<QLineEdit>(dialog, "seeAlsoLinkBox");
  auto* seeLabel = child<QLineEdit>(dialog, "seeAlsoLabelBox");
  auto* seeList = child<QListWidget>(dialog, "seeAlsoList");
  EXPECT_EQ(seeList->toolTip(), QStringLiteral("Links in See Also section"));
  auto* remove = child<QPushButton>(dialog, "seeAlsoRemoveButton");
  EXPECT_TRUE(!remove->isEnabled());
  typeInto(seeLink, "Calc.Add");
  typeInto(seeLabel, "adding");
  QTest::mouseClick(child<QPushButton>(dialog, "seeAlsoAddButton"),
                    Qt::LeftButton);
  QTest::mouseClick(child<QPushButton>(dialog, "seeAlsoPickButton"),
                    Qt::LeftButton);
  EXPECT_EQ(seeList->count(), 2);
  EXPECT_EQ(seeList->item(0)->text(), QStringLiteral("Calc.Add [adding]"));
  EXPECT_EQ(seeList->item(1)->text(), QStringLiteral(".Reset"));
  EXPECT_EQ(seeLabel->text(), QString());
  EXPECT_TRUE(remove->isEnabled());
  QTest::mouseClick(seeList->viewport(), Qt::LeftButton, {},
                    seeList->visualItemRect(seeList->item(0)).center());
  EXPECT_EQ(seeLink->text() + "|" + seeLabel->text(),
            QStringLiteral("Calc.Add|adding"));
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(seeList->count(), 1);

  QTest::mouseClick(child<QPushButton>(dialog, "examplesPickButton"),
                    Qt::LeftButton);
  EXPECT_EQ(child<QListWidget>(dialog, "examplesList")->item(0)->text(),
            QStringLiteral("\"ex.txt"));
  typeInto(child<QLineEdit>(dialog, "sameBox"), "Calc.Sub");
  QTest::mouseClick(child<QPushButton>(dialog, "samePickButton"),
                    Qt::LeftButton);
  EXPECT_EQ(child<QLineEdit>(dialog, "sameBox")->text(),
            QStringLiteral(".Reset"));
  EXPECT_EQ(asked,
            (std::vector<std::string>{"Calc.Add|both|member", "|one|file",
                                      "Calc.Sub|one|member"}));

  // Without a project there is nothing interesting to find; the window
  // then adds nothing.
  QTest::mouseClick(child<QPushButton>(dialog, "findInterestingButton"),
                    Qt::LeftButton);
  EXPECT_EQ(seeList->count(), 1);

  // "Edit" tells when the example cannot be opened.
  RecordingMessageBox box;
  EditCommentServices services;
  services.messages = &box;
  services.open = [](const std::string&) { return false; };
  e.settings.outputPath = "/work/out";
  EditComment editing(e.model, e.settings, services);
  editing.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&editing));
  QTest::mouseClick(child<QPushButton>(editing, "editExampleButton"),
                    Qt::LeftButton);
  EXPECT_EQ(QString::fromStdString(box.shown),
            QStringLiteral("Error while opening example.|Cannot show the "
                           "\"/work/out/ex.txt\" file\n"));

  // "Create" writes the file where the user chose and links it by name.
  namespace fs = std::filesystem;
  fs::path out = fs::temp_directory_path() / "scrivlet_editor_create";
  fs::remove_all(out);
  fs::create_directories(out);
  e.settings.outputPath = out.string();
  DiskFileSystem disk;
  Progress progress;
  FileServices files{disk, box, progress};
  services.files = &files;
  EditComment creating(e.model, e.settings, services);
  std::string createAsked;
  creating.setSaveFileChooser(
      [&](const std::string& title, const std::string& folder,
          const std::string& proposed, const std::string& filter) {
        createAsked = title + "|" + proposed + "|" + filter;
        return (fs::path(folder) / proposed).string();
      });
  creating.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&creating));
  QTest::mouseClick(child<QPushButton>(creating, "createExampleButton"),
                    Qt::LeftButton);
  EXPECT_EQ(QString::fromStdString(createAsked),
            QStringLiteral("Create New Example File|Calc_Add_example.txt|"
                           "Text (*.txt);;All files (*)"));
  EXPECT_EQ(QString::fromStdString(fileBytes(out / "Calc_Add_example.txt")),
            QStringLiteral("Example for Add."));
  auto* examples = child<QListWidget>(creating, "examplesList");
  EXPECT_EQ(examples->item(examples->count() - 1)->text(),
            QStringLiteral("\"Calc_Add_example.txt"));
  creating.close();
  fs::remove_all(out);
  dialog.close();
  editing.close();
}

TEST(EditComment, CtrlTabAndSourceView) {
  Editing e;
  e.settings.wordWrapLength = 30;
  EditComment dialog(e.model, e.settings, {});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* tabs = child<QTabWidget>(dialog, "tabs");
  auto* description = child<QPlainTextEdit>(dialog, "descriptionBox");
  description->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  description->setPlainText("Adds two numbers, which may be large or small.");
  QList<int> visited;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                    Qt::ControlModifier);
    visited << tabs->currentIndex();
  }
  EXPECT_EQ(visited, QList<int>({1, 2, 3, 4, 5, 0}));
  tabs->setCurrentIndex(5);
  auto* view = child<QPlainTextEdit>(dialog, "sourceView");
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
  EXPECT_EQ(view->toPlainText(),
            QStringLiteral("'**\n'Adds two numbers, which may be\n"
                           "'large or small.\n"
                           "'@param        a Required.\n'Long. The first.\n"
                           "'@param        b Required.\n'Long. The second.\n"
                           "'@return       Long. The sum."));
  dialog.close();
}

TEST(EditComment, OptionsWindow) {
  ProjectSettings settings;
  settings.wordWrapLength = -72;
  EditCommentOptions options(settings);
  options.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
  EXPECT_EQ(options.windowTitle(), QStringLiteral("Comment Editor Options"));
  saveScreenshot(options, "edit_comment_options");
  auto* wrap = child<QCheckBox>(options, "wordWrapBox");
  auto* length = child<QSpinBox>(options, "lineLengthBox");
  auto* eol = child<QCheckBox>(options, "showEOLBox");
  EXPECT_EQ(
      wrap->text() + "|" + wrap->toolTip(),
      QStringLiteral("&Word wrap in source code comments|Break the comment "
                     "lines in source code to the specified length"));
  EXPECT_EQ(length->toolTip(),
            QStringLiteral("Set the line length in comments"));
  EXPECT_EQ(eol->text() + "|" + eol->toolTip(),
            QStringLiteral("Show $EOL$ as new line. Write new line as $EOL$.|"
                           "Show $EOL$ in comments as new line. Write new line "
                           "as $EOL$. New lines in comments are ignored."));
  EXPECT_TRUE(!wrap->isChecked());
  EXPECT_TRUE(!length->isEnabled());
  EXPECT_EQ(length->value(), 72);
  wrap->setChecked(true);
  EXPECT_TRUE(length->isEnabled());
  length->setValue(64);
  eol->setChecked(true);
  QTest::mouseClick(child<QPushButton>(options, "okButton"), Qt::LeftButton);
  EXPECT_EQ(settings.wordWrapLength, 64);
  EXPECT_EQ(settings.autoInsertEOL, 1);

  EditCommentOptions cancelled(settings);
  child<QCheckBox>(cancelled, "wordWrapBox")->setChecked(false);
  QTest::mouseClick(child<QPushButton>(cancelled, "cancelButton"),
                    Qt::LeftButton);
  EXPECT_EQ(settings.wordWrapLength, 64);
}

TEST(EditComment, InterestingReferencesWindow) {
  InterestLinksModel model(
      {"IShape [implemented]", "Circle [implements]", "Stats [used]"});
  InterestLinks window(model);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Interesting references"));
  saveScreenshot(window, "interest_links");
  auto* list = child<QListWidget>(window, "referenceList");
  EXPECT_EQ(list->selectedItems().size(), 3);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_TRUE(!model.isChosen(1));
  QTest::mouseClick(child<QPushButton>(window, "addSelectedButton"),
                    Qt::LeftButton);
  EXPECT_EQ(model.result(),
            (std::vector<std::string>{"IShape [implemented]", "Stats [used]"}));

  InterestLinksModel none({"Stats [used]"});
  InterestLinks cancelled(none);
  QTest::mouseClick(child<QPushButton>(cancelled, "cancelButton"),
                    Qt::LeftButton);
  EXPECT_TRUE(none.result().empty());
}

// A project written in another code page shows its own letters, and what
// is typed goes back as that code page's bytes.
TEST(EditComment, TextInTheProjectsCodePage) {
  auto module = DiskCodeModule::fromText(
      "Calc", vbext_ct_StdModule,
      crlf({"'**", "'\xCF\xF0\xE8\xEC\xE5\xF0", "Public Sub Reset()",
            "End Sub"}));
  ProjectSettings settings;
  settings.codePage = 1251;
  CommentEditorModel model(settings);
  model.openAtLine(*module, 3);
  EditComment dialog(model, settings, {});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* description = child<QPlainTextEdit>(dialog, "descriptionBox");
  EXPECT_EQ(description->toPlainText(),
            QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5"
                              "\xD1\x80"));
  typeInto(description, QString::fromUtf8("\xD0\x94\xD0\xB0"));
  QTest::mouseClick(child<QPushButton>(dialog, "applyButton"), Qt::LeftButton);
  EXPECT_EQ(module->toBytes(),
            crlf({"'**", "'\xC4\xE0", "Public Sub Reset()", "End Sub"}));
}

TEST(EditComment, NothingToEdit) {
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  ProjectSettings settings;
  CommentEditorModel model(settings);
  module->CodePane()->SetSelection(8, 1, 9, 3);
  EXPECT_TRUE(!model.openAtCaret(*module->CodePane()));
  EditComment dialog(model, settings, {});
  dialog.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
  EXPECT_EQ(QString::fromLatin1(module->toBytes().c_str()),
            QString::fromLatin1(kCalc.c_str()));
}

// The code window's command over a copy of the example project: the
// editor opens on Calculator.Apply under the caret, a See Also link comes
// from the reference window, Apply writes the block; a second opening
// cancelled changes nothing; saving writes the module whole.
TEST(EditComment, CommandOverTheExample) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "scrivlet_editor_window";
  fs::remove_all(folder);
  fs::copy(fs::path(SCRIVLET_SOURCE_DIR) / "examples" / "Calc", folder);
  std::string error;
  auto ide = openProjectOrGroup((folder / "Calc.vbp").string(), error);
  ASSERT_TRUE(ide) << error;
  ProjectSettings settings;
  CodeModule* calculator = nullptr;
  for (VBComponent* component : ide->ActiveVBProject()->VBComponents()) {
    if (!component->CodeModule()) continue;
    settings.selectedModules.add(component->Name(), component->CodeModule());
    if (component->Name() == "Calculator") calculator = component->CodeModule();
  }
  ASSERT_TRUE(calculator);
  long apply = 0;
  for (long n = 1; n <= calculator->CountOfLines() && !apply; ++n)
    if (calculator->Lines(n, 1).find("Function Apply(") != std::string::npos)
      apply = n;
  auto* pane = static_cast<DiskCodeModule*>(calculator)->CodePane();
  ide->setActiveCodePane(pane);

  // Text selected: the command refuses.
  RecordingMessageBox box;
  EditCommentServices services;
  services.messages = &box;
  pane->SetSelection(apply, 1, apply, 9);
  EXPECT_TRUE(!showCommentEditor(*ide, settings, services, nullptr));
  EXPECT_EQ(
      QString::fromStdString(box.shown),
      QStringLiteral("Comment editor|Cannot run comment editor when source "
                     "code selection is made. Please cancel your text "
                     "selection.\n"));

  const std::string before = calculator->Lines(1, calculator->CountOfLines());
  pane->SetSelection(apply + 1, 5, apply + 1, 5);
  QString title;
  whenModalOpens([&](QWidget& editor) {
    title = editor.windowTitle();
    auto* tabs = child<QTabWidget>(editor, "tabs");
    const char* pictures[] = {"basic", "parameters",  "references",
                              "misc",  "user_fields", "source_code_view"};
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      saveScreenshot(editor, std::string("edit_comment_") + pictures[i]);
    }
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"),
             "Applies an operation to the result.");
    child<QTabWidget>(editor, "tabs")->setCurrentIndex(2);
    whenModalOpens([&](QWidget& reference) {
      auto* modules = child<QComboBox>(reference, "moduleCombo");
      int history = modules->findText("History");
      modules->setCurrentIndex(history);
      emit modules->activated(history);
      auto* members = child<QListWidget>(reference, "memberList");
      members->setCurrentItem(
          members->findItems("Describe", Qt::MatchExactly)[0]);
      saveScreenshot(reference, "reference_select_member_page");
      QTest::mouseClick(child<QPushButton>(reference, "okButton"),
                        Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(editor, "seeAlsoPickButton"),
                      Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(editor, "applyButton"),
                      Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(editor, "okButton"), Qt::LeftButton);
  });
  EXPECT_TRUE(showCommentEditor(*ide, settings, services, nullptr));
  EXPECT_EQ(title, QStringLiteral("Apply - Scrivlet Comment Editor"));
  // The block, exactly as composed, where the old one stood.
  std::string expected = before;
  std::size_t start =
      expected.find("'**\r\n' Applies an operation to the current result");
  std::size_t end = expected.find("Public Function Apply(");
  EXPECT_TRUE(start != std::string::npos && end != std::string::npos);
  expected.replace(
      start, end - start,
      crlf({"'**", "'Applies an operation to the result.",
            "'@param        operation The operation of the key "
            "pressed.",
            "'@param        operand The number entered.",
            "'@return       The new result.",
            "'@see          IOperation.Apply ",
            "'@see          History.Describe ", "'@example      Calculator "}));
  const std::string after = calculator->Lines(1, calculator->CountOfLines());
  EXPECT_EQ(QString::fromLatin1(after.c_str()),
            QString::fromLatin1(expected.c_str()));

  whenModalOpens([&](QWidget& editor) {
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"), "Forgotten.");
    QTest::mouseClick(child<QPushButton>(editor, "cancelButton"),
                      Qt::LeftButton);
  });
  EXPECT_TRUE(showCommentEditor(*ide, settings, services, nullptr));
  EXPECT_EQ(QString::fromLatin1(
                calculator->Lines(1, calculator->CountOfLines()).c_str()),
            QString::fromLatin1(after.c_str()));

  EXPECT_TRUE(ide->saveChanged().empty());
  std::string saved = fileBytes(folder / "Calculator.cls");
  EXPECT_TRUE(saved.find("'**\r\n'Applies an operation to the result.\r\n") !=
              std::string::npos);
  EXPECT_TRUE(saved.find("'@see          History.Describe \r\n") !=
              std::string::npos);
  // Nothing but the project's own files: no temporary file was left.
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_TRUE(entry.path().filename().string()[0] != '.')
        << entry.path().c_str();
  fs::remove_all(folder);
}

}  // namespace scrivlet
