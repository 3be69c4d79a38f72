#include "addin/windows/edit_comment.h"

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

#include "addin/file_system.h"
#include "addin/progress.h"
#include "addin/windows/edit_comment_options.h"
#include "addin/windows/edit_comment_test.h"
#include "addin/windows/interest_links.h"
#include "addin/windows/settings_grid.h"
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
  Editing() : module(DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc)),
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

void EditCommentTest::tabsCaptionAndApply() {
  Editing e;
  int saves = 0;
  EditCommentServices services;
  services.saveSettings = [&] { ++saves; };
  EditComment dialog(e.model, e.settings, services);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Add - Scrivlet Comment Editor"));
  auto* tabs = child<QTabWidget>(dialog, "tabs");
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i)
    captions << tabs->tabText(i) + " (" + tabs->tabToolTip(i) + ")";
  QCOMPARE(captions,
           QStringList({"&Basic (Edit basic fields)",
                        "&Parameters (Edit parameters)",
                        "&References (Edit references to other members or files)",
                        "&Misc (Author, revision, version)",
                        "&User-defined fields (Edit user-defined fields)",
                        "&Source code view (View how the source code comment "
                        "will look like)"}));
  QCOMPARE(tabs->currentIndex(), 0);
  auto* description = child<QPlainTextEdit>(dialog, "descriptionBox");
  QCOMPARE(description->toPlainText(), QStringLiteral(" Adds two numbers."));

  typeInto(description, "Adds two numbers.\nNever overflows.");
  tabs->setCurrentIndex(1);
  auto* parameters = child<QListWidget>(dialog, "parameterList");
  QCOMPARE(parameters->count(), 2);
  parameters->setCurrentRow(1);
  auto* parameterBox = child<QPlainTextEdit>(dialog, "parameterDescriptionBox");
  QCOMPARE(parameterBox->toPlainText(),
           QStringLiteral("Required. Long. The second."));
  typeInto(parameterBox, "Required. Long. The other.");
  tabs->setCurrentIndex(3);
  typeInto(child<QLineEdit>(dialog, "authorBox"), QString::fromUtf8("Zoë"));
  child<QCheckBox>(dialog, "includeSourceBox")->setChecked(true);
  child<QCheckBox>(dialog, "updateOnStartupBox")->setChecked(true);
  QCOMPARE(e.settings.autoUpdateParams, 0);
  QTest::mouseClick(child<QPushButton>(dialog, "applyButton"), Qt::LeftButton);
  QCOMPARE(saves, 1);
  QCOMPARE(e.settings.autoUpdateParams, 1);
  QCOMPARE(QString::fromLatin1(e.module->toBytes().c_str()),
           QString::fromLatin1(crlf({
               "Option Explicit", "", "'**", "'Adds two numbers.",
               "'Never overflows.", "'@param        a Required. Long. The first.",
               "'@param        b Required. Long. The other.",
               "'@return       Long. The sum.", "'@author       Zo\xEB",
               "'@includesource yes",
               "Public Function Add(ByVal a As Long, ByVal b As Long) As Long",
               "End Function", "Public Sub Reset()", "End Sub"})
                                  .c_str()));
  dialog.close();
}

void EditCommentTest::settingsGridKeys() {
  Editing e;
  EditComment dialog(e.model, e.settings, {});
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  child<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
  auto* grid = child<SettingsGrid>(dialog, "settingsGrid");
  QStringList headers;
  for (int c = 0; c < 3; ++c) headers << grid->horizontalHeaderItem(c)->text();
  QCOMPARE(headers, QStringList({"Constant Name", "Value", "Description"}));
  QVERIFY(grid->isEnabled());
  auto* add = child<QPushButton>(dialog, "addSettingButton");
  QTest::mouseClick(add, Qt::LeftButton);
  QTest::mouseClick(add, Qt::LeftButton);
  QCOMPARE(grid->rowCount(), 2);

  auto* cell = child<QLineEdit>(dialog, "settingsCellEditor");
  auto* descriptionCell = child<QLineEdit>(dialog, "settingsDescriptionEditor");
  grid->editCell(0, 0);
  QVERIFY(cell->isVisible());
  QTest::keyClicks(cell, "vbA");
  QTest::keyClick(cell, Qt::Key_Down);  // stores, moves to row 2
  QCOMPARE(grid->editedRow(), 1);
  QTest::keyClicks(cell, "vbB");
  QTest::keyClick(cell, Qt::Key_Down);  // the last row: stays
  QCOMPARE(grid->editedRow(), 1);
  QTest::keyClick(cell, Qt::Key_Up);
  QCOMPARE(grid->editedRow(), 0);
  QTest::keyClick(cell, Qt::Key_Up);  // never into the header
  QCOMPARE(grid->editedRow(), 0);
  QTest::keyClick(cell, Qt::Key_Escape);
  QVERIFY(!cell->isVisible());
  grid->editCell(0, 1);
  QTest::keyClicks(cell, "1");
  QTest::keyClick(cell, Qt::Key_Escape);  // dropped
  grid->editCell(1, 1);
  QTest::keyClicks(cell, "2");
  QTest::keyClick(cell, Qt::Key_Return);
  grid->editCell(0, 2);
  QVERIFY(descriptionCell->isVisible());
  QTest::keyClicks(descriptionCell, "First.");
  QTest::keyClick(descriptionCell, Qt::Key_Down);  // no move in this box
  QCOMPARE(grid->editedRow(), 0);
  // Leaving the box stores it.
  child<QListWidget>(dialog, "parameterList")->setFocus();
  QVERIFY(!descriptionCell->isVisible());
  grid->editCell(1, 2);
  QTest::keyClicks(descriptionCell, "Gone.");
  QTest::keyClick(descriptionCell, Qt::Key_Escape);

  QCOMPARE(QString::fromStdString(e.model.sourceCodeView()),
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
  QCOMPARE(grid->rowCount(), 1);
  QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("vbB"));
  dialog.close();
}

void EditCommentTest::referencesTab() {
  Editing e;
  EditComment dialog(e.model, e.settings, {});
  std::vector<std::string> asked;
  dialog.setReferencePicker([&](ReferenceModel& reference) {
    asked.push_back(reference.selected() + "|" +
                    (reference.choiceVisible() ? "both" : "one") + "|" +
                    (reference.page() == ReferenceModel::Page::file ? "file"
                                                                    : "member"));
    return std::string(reference.page() == ReferenceModel::Page::file
                           ? "\"ex.txt"
                           : ".Reset");
  });
  dialog.setInterestChooser([](InterestLinksModel& links) {
    links.setChosen(1, false);
    links.addSelected();
  });
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  child<QTabWidget>(dialog, "tabs")->setCurrentIndex(2);

  auto* seeLink = child<QLineEdit>(dialog, "seeAlsoLinkBox");
  auto* seeLabel = child<QLineEdit>(dialog, "seeAlsoLabelBox");
  auto* seeList = child<QListWidget>(dialog, "seeAlsoList");
  QCOMPARE(seeList->toolTip(), QStringLiteral("Links in See Also section"));
  auto* remove = child<QPushButton>(dialog, "seeAlsoRemoveButton");
  QVERIFY(!remove->isEnabled());
  typeInto(seeLink, "Calc.Add");
  typeInto(seeLabel, "adding");
  QTest::mouseClick(child<QPushButton>(dialog, "seeAlsoAddButton"),
                    Qt::LeftButton);
  QTest::mouseClick(child<QPushButton>(dialog, "seeAlsoPickButton"),
                    Qt::LeftButton);
  QCOMPARE(seeList->count(), 2);
  QCOMPARE(seeList->item(0)->text(), QStringLiteral("Calc.Add [adding]"));
  QCOMPARE(seeList->item(1)->text(), QStringLiteral(".Reset"));
  QCOMPARE(seeLabel->text(), QString());
  QVERIFY(remove->isEnabled());
  QTest::mouseClick(seeList->viewport(), Qt::LeftButton, {},
                    seeList->visualItemRect(seeList->item(0)).center());
  QCOMPARE(seeLink->text() + "|" + seeLabel->text(),
           QStringLiteral("Calc.Add|adding"));
  QTest::mouseClick(remove, Qt::LeftButton);
  QCOMPARE(seeList->count(), 1);

  QTest::mouseClick(child<QPushButton>(dialog, "examplesPickButton"),
                    Qt::LeftButton);
  QCOMPARE(child<QListWidget>(dialog, "examplesList")->item(0)->text(),
           QStringLiteral("\"ex.txt"));
  typeInto(child<QLineEdit>(dialog, "sameBox"), "Calc.Sub");
  QTest::mouseClick(child<QPushButton>(dialog, "samePickButton"),
                    Qt::LeftButton);
  QCOMPARE(child<QLineEdit>(dialog, "sameBox")->text(), QStringLiteral(".Reset"));
  QCOMPARE(asked, (std::vector<std::string>{"Calc.Add|both|member",
                                            "|one|file", "Calc.Sub|one|member"}));

  // Without a project there is nothing interesting to find; the window
  // then adds nothing.
  QTest::mouseClick(child<QPushButton>(dialog, "findInterestingButton"),
                    Qt::LeftButton);
  QCOMPARE(seeList->count(), 1);

  // "Edit" tells when the example cannot be opened.
  RecordingMessageBox box;
  EditCommentServices services;
  services.messages = &box;
  services.open = [](const std::string&) { return false; };
  e.settings.outputPath = "/work/out";
  EditComment editing(e.model, e.settings, services);
  editing.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editing));
  QTest::mouseClick(child<QPushButton>(editing, "editExampleButton"),
                    Qt::LeftButton);
  QCOMPARE(QString::fromStdString(box.shown),
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
  creating.setSaveFileChooser([&](const std::string& title,
                                  const std::string& folder,
                                  const std::string& proposed,
                                  const std::string& filter) {
    createAsked = title + "|" + proposed + "|" + filter;
    return (fs::path(folder) / proposed).string();
  });
  creating.show();
  QVERIFY(QTest::qWaitForWindowExposed(&creating));
  QTest::mouseClick(child<QPushButton>(creating, "createExampleButton"),
                    Qt::LeftButton);
  QCOMPARE(QString::fromStdString(createAsked),
           QStringLiteral("Create New Example File|Calc_Add_example.txt|"
                          "Text (*.txt);;All files (*)"));
  QCOMPARE(QString::fromStdString(fileBytes(out / "Calc_Add_example.txt")),
           QStringLiteral("Example for Add."));
  auto* examples = child<QListWidget>(creating, "examplesList");
  QCOMPARE(examples->item(examples->count() - 1)->text(),
           QStringLiteral("\"Calc_Add_example.txt"));
  creating.close();
  fs::remove_all(out);
  dialog.close();
  editing.close();
}

void EditCommentTest::ctrlTabAndSourceView() {
  Editing e;
  e.settings.wordWrapLength = 30;
  EditComment dialog(e.model, e.settings, {});
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* tabs = child<QTabWidget>(dialog, "tabs");
  auto* description = child<QPlainTextEdit>(dialog, "descriptionBox");
  description->setFocus();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  description->setPlainText("Adds two numbers, which may be large or small.");
  QList<int> visited;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    visited << tabs->currentIndex();
  }
  QCOMPARE(visited, QList<int>({1, 2, 3, 4, 5, 0}));
  tabs->setCurrentIndex(5);
  auto* view = child<QPlainTextEdit>(dialog, "sourceView");
  QVERIFY(view->isReadOnly());
  QVERIFY(QFontInfo(view->font()).fixedPitch());
  QCOMPARE(view->toPlainText(),
           QStringLiteral("'**\n'Adds two numbers, which may be\n"
                          "'large or small.\n"
                          "'@param        a Required.\n'Long. The first.\n"
                          "'@param        b Required.\n'Long. The second.\n"
                          "'@return       Long. The sum."));
  dialog.close();
}

void EditCommentTest::optionsWindow() {
  ProjectSettings settings;
  settings.wordWrapLength = -72;
  EditCommentOptions options(settings);
  options.show();
  QVERIFY(QTest::qWaitForWindowExposed(&options));
  QCOMPARE(options.windowTitle(), QStringLiteral("Comment Editor Options"));
  auto* wrap = child<QCheckBox>(options, "wordWrapBox");
  auto* length = child<QSpinBox>(options, "lineLengthBox");
  auto* eol = child<QCheckBox>(options, "showEOLBox");
  QCOMPARE(wrap->text() + "|" + wrap->toolTip(),
           QStringLiteral("&Word wrap in source code comments|Break the comment "
                          "lines in source code to the specified length"));
  QCOMPARE(length->toolTip(), QStringLiteral("Set the line length in comments"));
  QCOMPARE(eol->text() + "|" + eol->toolTip(),
           QStringLiteral("Show $EOL$ as new line. Write new line as $EOL$.|"
                          "Show $EOL$ in comments as new line. Write new line "
                          "as $EOL$. New lines in comments are ignored."));
  QVERIFY(!wrap->isChecked());
  QVERIFY(!length->isEnabled());
  QCOMPARE(length->value(), 72);
  wrap->setChecked(true);
  QVERIFY(length->isEnabled());
  length->setValue(64);
  eol->setChecked(true);
  QTest::mouseClick(child<QPushButton>(options, "okButton"), Qt::LeftButton);
  QCOMPARE(settings.wordWrapLength, 64);
  QCOMPARE(settings.autoInsertEOL, 1);

  EditCommentOptions cancelled(settings);
  child<QCheckBox>(cancelled, "wordWrapBox")->setChecked(false);
  QTest::mouseClick(child<QPushButton>(cancelled, "cancelButton"),
                    Qt::LeftButton);
  QCOMPARE(settings.wordWrapLength, 64);
}

void EditCommentTest::interestingReferencesWindow() {
  InterestLinksModel model({"IShape [implemented]", "Circle [implements]",
                            "Stats [used]"});
  InterestLinks window(model);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCOMPARE(window.windowTitle(), QStringLiteral("Interesting references"));
  auto* list = child<QListWidget>(window, "referenceList");
  QCOMPARE(list->selectedItems().size(), 3);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  QVERIFY(!model.isChosen(1));
  QTest::mouseClick(child<QPushButton>(window, "addSelectedButton"),
                    Qt::LeftButton);
  QCOMPARE(model.result(), (std::vector<std::string>{"IShape [implemented]",
                                                     "Stats [used]"}));

  InterestLinksModel none({"Stats [used]"});
  InterestLinks cancelled(none);
  QTest::mouseClick(child<QPushButton>(cancelled, "cancelButton"),
                    Qt::LeftButton);
  QVERIFY(none.result().empty());
}

void EditCommentTest::nothingToEdit() {
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  ProjectSettings settings;
  CommentEditorModel model(settings);
  module->CodePane()->SetSelection(8, 1, 9, 3);
  QVERIFY(!model.openAtCaret(*module->CodePane()));
  EditComment dialog(model, settings, {});
  dialog.show();
  QTRY_VERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(QString::fromLatin1(module->toBytes().c_str()),
           QString::fromLatin1(kCalc.c_str()));
}

// The code window's command over a copy of the example project: the
// editor opens on Calculator.Apply under the caret, a See Also link comes
// from the reference window, Apply writes the block; a second opening
// cancelled changes nothing; saving writes the module whole.
void EditCommentTest::commandOverTheExample() {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "scrivlet_editor_window";
  fs::remove_all(folder);
  fs::copy(fs::path(SCRIVLET_SOURCE_DIR) / "examples" / "Calc", folder);
  std::string error;
  auto ide = openProjectOrGroup((folder / "Calc.vbp").string(), error);
  QVERIFY2(ide, error.c_str());
  ProjectSettings settings;
  CodeModule* calculator = nullptr;
  for (VBComponent* component : ide->ActiveVBProject()->VBComponents()) {
    if (!component->CodeModule()) continue;
    settings.selectedModules.add(component->Name(), component->CodeModule());
    if (component->Name() == "Calculator") calculator = component->CodeModule();
  }
  QVERIFY(calculator);
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
  QVERIFY(!showCommentEditor(*ide, settings, services, nullptr));
  QCOMPARE(QString::fromStdString(box.shown),
           QStringLiteral("Comment editor|Cannot run comment editor when source "
                          "code selection is made. Please cancel your text "
                          "selection.\n"));

  const std::string before = calculator->Lines(1, calculator->CountOfLines());
  pane->SetSelection(apply + 1, 5, apply + 1, 5);
  QString title;
  whenModalOpens([&](QWidget& editor) {
    title = editor.windowTitle();
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"),
             "Applies an operation to the result.");
    child<QTabWidget>(editor, "tabs")->setCurrentIndex(2);
    whenModalOpens([&](QWidget& reference) {
      auto* modules = child<QComboBox>(reference, "moduleCombo");
      int history = modules->findText("History");
      modules->setCurrentIndex(history);
      emit modules->activated(history);
      auto* members = child<QListWidget>(reference, "memberList");
      members->setCurrentItem(members->findItems("Describe", Qt::MatchExactly)[0]);
      QTest::mouseClick(child<QPushButton>(reference, "okButton"),
                        Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(editor, "seeAlsoPickButton"),
                      Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(editor, "applyButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(editor, "okButton"), Qt::LeftButton);
  });
  QVERIFY(showCommentEditor(*ide, settings, services, nullptr));
  QCOMPARE(title, QStringLiteral("Apply - Scrivlet Comment Editor"));
  // The block, exactly as composed, where the old one stood.
  std::string expected = before;
  std::size_t start =
      expected.find("'**\r\n' Applies an operation to the current result");
  std::size_t end = expected.find("Public Function Apply(");
  QVERIFY(start != std::string::npos && end != std::string::npos);
  expected.replace(start, end - start,
                   crlf({"'**", "'Applies an operation to the result.",
                         "'@param        operation The operation of the key "
                         "pressed.",
                         "'@param        operand The number entered.",
                         "'@return       The new result.",
                         "'@see          IOperation.Apply ",
                         "'@see          History.Describe ",
                         "'@example      Calculator "}));
  const std::string after = calculator->Lines(1, calculator->CountOfLines());
  QCOMPARE(QString::fromLatin1(after.c_str()),
           QString::fromLatin1(expected.c_str()));

  whenModalOpens([&](QWidget& editor) {
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"), "Forgotten.");
    QTest::mouseClick(child<QPushButton>(editor, "cancelButton"),
                      Qt::LeftButton);
  });
  QVERIFY(showCommentEditor(*ide, settings, services, nullptr));
  QCOMPARE(QString::fromLatin1(
               calculator->Lines(1, calculator->CountOfLines()).c_str()),
           QString::fromLatin1(after.c_str()));

  QVERIFY(ide->saveChanged().empty());
  std::string saved = fileBytes(folder / "Calculator.cls");
  QVERIFY(saved.find("'**\r\n'Applies an operation to the result.\r\n") !=
          std::string::npos);
  QVERIFY(saved.find("'@see          History.Describe \r\n") !=
          std::string::npos);
  // Nothing but the project's own files: no temporary file was left.
  for (const auto& entry : fs::directory_iterator(folder))
    QVERIFY2(entry.path().filename().string()[0] != '.',
             entry.path().c_str());
  fs::remove_all(folder);
}

}  // namespace scrivlet
