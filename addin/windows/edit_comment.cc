#include "addin/windows/edit_comment.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "addin/windows/edit_comment_options.h"
#include "addin/windows/interest_links.h"
#include "addin/windows/link_list_box.h"
#include "addin/windows/qt_text.h"
#include "addin/windows/reference_select_dlg.h"
#include "addin/windows/settings_grid.h"
#include "addin/windows/window_message_box.h"
#include "base/file_system.h"
#include "base/progress.h"
#include "base/text.h"

namespace scrivlet {

namespace {

const char kExampleFilter[] = "Text (*.txt);;All files (*)";

// The editor's texts break their lines with CR LF, one comment line each.
QString boxTextToQString(const std::string& text, int codePage) {
  return toQString(replaceAll(text, "\r\n", "\r"), codePage);
}

std::string boxTextFromQString(const QString& text, int codePage) {
  return replaceAll(fromQString(text, codePage), "\r", "\r\n");
}

QPushButton* button(const QString& caption, const QString& name,
                    QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QLabel* label(const QString& caption, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(caption, parent);
  l->setBuddy(buddy);
  return l;
}

void setBoxText(QWidget* box, const std::string& text, int codePage) {
  if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
    QString shown = boxTextToQString(text, codePage);
    if (edit->toPlainText() != shown) edit->setPlainText(shown);
  } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
    QString shown = toQString(text, codePage);
    if (line->text() != shown) line->setText(shown);
  }
}

std::string boxText(QWidget* box, int codePage) {
  if (auto* edit = qobject_cast<QPlainTextEdit*>(box))
    return boxTextFromQString(edit->toPlainText(), codePage);
  if (auto* line = qobject_cast<QLineEdit*>(box))
    return fromQString(line->text(), codePage);
  return "";
}

}  // namespace

EditComment::EditComment(CommentEditorModel& model, ProjectSettings& settings,
                         EditCommentServices services, QWidget* parent)
    : QDialog(parent),
      model_(model),
      settings_(settings),
      codePage_(settings.codePage),
      services_(std::move(services)) {
  setObjectName(QStringLiteral("editComment"));
  setWindowTitle(toQString(model_.caption(), codePage_));
  pickReference_ = [this](ReferenceModel& reference) {
    ReferenceSelectDlg dialog(reference, this);
    dialog.exec();
    return reference.selected();
  };
  chooseInteresting_ = [this](InterestLinksModel& links) {
    InterestLinks dialog(links, this);
    dialog.exec();
  };
  chooseSaveFile_ = [this](const std::string& title, const std::string& folder,
                           const std::string& proposed,
                           const std::string& filter) {
    QString start = toQString(folder, codePage_);
    if (!start.isEmpty() && !start.endsWith('/')) start += '/';
    return fromQString(QFileDialog::getSaveFileName(
        this, toQString(title, codePage_),
        start + toQString(proposed, codePage_), toQString(filter, codePage_)));
  };

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  struct Tab {
    QWidget* page;
    const char* caption;
    const char* tip;
  };
  parametersTab_ = buildParametersTab();
  sourceTab_ = buildSourceTab();
  const Tab tabs[] = {
      {buildBasicTab(), "&Basic", "Edit basic fields"},
      {parametersTab_, "&Parameters", "Edit parameters"},
      {buildReferencesTab(), "&References",
       "Edit references to other members or files"},
      {buildMiscTab(), "&Misc", "Author, revision, version"},
      {buildUserTab(), "&User-defined fields", "Edit user-defined fields"},
      {sourceTab_, "&Source code view",
       "View how the source code comment will look like"},
  };
  for (const Tab& tab : tabs) {
    int index = tabs_->addTab(tab.page, QString::fromUtf8(tab.caption));
    tabs_->setTabToolTip(index, QString::fromUtf8(tab.tip));
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
    if (tabs_->currentWidget() == sourceTab_) refreshSourceView();
  });
  auto* nextTabKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  nextTabKey->setContext(Qt::WidgetWithChildrenShortcut);
  connect(nextTabKey, &QShortcut::activated, this, [this] { nextTab(); });

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("okButton"));
  auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  auto* applyButton = buttons->addButton(QDialogButtonBox::Apply);
  applyButton->setObjectName(QStringLiteral("applyButton"));
  applyButton->setText(QStringLiteral("&Apply"));
  connect(ok, &QPushButton::clicked, this, [this] {
    if (apply()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons);
  resize(760, 560);

  followingFields_ = model_.changes().subscribe([this] { refreshFields(); });
  followingParameters_ =
      model_.parameters().changes().subscribe([this] { refreshParameters(); });
  refreshFields();
  refreshParameters();
  tabs_->setCurrentIndex(0);
}

QPlainTextEdit* EditComment::textBox(CommentField field, const QString& name) {
  auto* box = new QPlainTextEdit(this);
  box->setObjectName(name);
  box->setTabChangesFocus(true);
  box->installEventFilter(this);
  boxes_.emplace_back(field, box);
  return box;
}

QLineEdit* EditComment::lineBox(CommentField field, const QString& name) {
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  connect(box, &QLineEdit::editingFinished, this, [this, field, box] {
    if (!refreshing_)
      model_.setText(field, fromQString(box->text(), codePage_));
  });
  boxes_.emplace_back(field, box);
  return box;
}

QWidget* EditComment::buildBasicTab() {
  auto* page = new QWidget(this);
  auto* description =
      textBox(CommentField::description, QStringLiteral("descriptionBox"));
  auto* remarks = textBox(CommentField::remarks, QStringLiteral("remarksBox"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(label(QStringLiteral("&Description"), description, page));
  layout->addWidget(description, 3);
  layout->addWidget(label(QStringLiteral("Re&marks"), remarks, page));
  layout->addWidget(remarks, 2);
  return page;
}

QWidget* EditComment::buildParametersTab() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("parametersPage"));
  parameterList_ = new QListWidget(page);
  parameterList_->setObjectName(QStringLiteral("parameterList"));
  parameterDescriptionBox_ = new QPlainTextEdit(page);
  parameterDescriptionBox_->setObjectName(
      QStringLiteral("parameterDescriptionBox"));
  parameterDescriptionBox_->setTabChangesFocus(true);
  parameterDescriptionBox_->installEventFilter(this);
  settingsGrid_ = new SettingsGrid(model_.parameters(), codePage_, page);
  settingsLabel_ = label(QStringLiteral("Se&ttings"), settingsGrid_, page);
  addSettingButton_ =
      button(QStringLiteral("Add"), QStringLiteral("addSettingButton"), page);
  removeSettingButton_ = button(QStringLiteral("Remove"),
                                QStringLiteral("removeSettingButton"), page);
  auto* returns =
      textBox(CommentField::returnText, QStringLiteral("returnsBox"));
  returns->setMaximumHeight(returns->fontMetrics().lineSpacing() * 3 + 12);
  auto* update =
      button(QStringLiteral("&Update"), QStringLiteral("updateButton"), page);
  updateOnStartupBox_ =
      new QCheckBox(QStringLiteral("Update on &startup"), page);
  updateOnStartupBox_->setObjectName(QStringLiteral("updateOnStartupBox"));

  connect(parameterList_, &QListWidget::currentRowChanged, this,
          [this](int row) {
            if (!refreshing_) model_.parameters().selectParameter(row);
          });
  connect(addSettingButton_, &QPushButton::clicked, this, [this] {
    settingsGrid_->storeEditor();
    model_.parameters().addGridRow();
  });
  connect(removeSettingButton_, &QPushButton::clicked, this, [this] {
    settingsGrid_->storeEditor();
    model_.parameters().removeGridRow(settingsGrid_->currentRow());
  });
  connect(update, &QPushButton::clicked, this, [this] {
    storeBoxes();
    model_.update();
  });
  connect(updateOnStartupBox_, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) model_.setUpdateOnStartup(on);
  });

  auto* left = new QVBoxLayout;
  left->addWidget(
      label(QStringLiteral("Parameter &name"), parameterList_, page));
  left->addWidget(parameterList_, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(
      label(QStringLiteral("D&escription"), parameterDescriptionBox_, page));
  right->addWidget(parameterDescriptionBox_, 1);
  right->addWidget(settingsLabel_);
  right->addWidget(settingsGrid_, 2);
  auto* gridButtons = new QHBoxLayout;
  gridButtons->addWidget(addSettingButton_);
  gridButtons->addWidget(removeSettingButton_);
  gridButtons->addStretch();
  right->addLayout(gridButtons);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(right, 3);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(update);
  bottom->addWidget(updateOnStartupBox_);
  bottom->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top, 1);
  layout->addWidget(label(QStringLiteral("Re&turns"), returns, page));
  layout->addWidget(returns);
  layout->addLayout(bottom);
  return page;
}

QWidget* EditComment::buildReferencesTab() {
  auto* page = new QWidget(this);
  seeAlsoBox_ =
      new LinkListBox(QStringLiteral("See Also"), QStringLiteral("seeAlso"),
                      QStringLiteral("Links in See Also section"),
                      model_.seeAlso(), codePage_, page);
  seeAlsoBox_->onPick([this] {
    model_.seeAlso().addPicked(
        pick(model_.seeAlso().linkText(), &ReferenceModel::initBoth));
  });
  connect(seeAlsoBox_->addButton(QStringLiteral("Find interesting references"),
                                 QStringLiteral("findInterestingButton")),
          &QPushButton::clicked, this, [this] { findInterestingReferences(); });

  examplesBox_ =
      new LinkListBox(QStringLiteral("Examples"), QStringLiteral("examples"),
                      QStringLiteral("Links in Examples section"),
                      model_.examples(), codePage_, page);
  examplesBox_->onPick([this] {
    model_.examples().addPicked(
        pick(model_.examples().linkText(), &ReferenceModel::initFile));
  });
  connect(examplesBox_->addButton(QStringLiteral("Create"),
                                  QStringLiteral("createExampleButton")),
          &QPushButton::clicked, this, [this] { createExample(); });
  connect(examplesBox_->addButton(QStringLiteral("Edit"),
                                  QStringLiteral("editExampleButton")),
          &QPushButton::clicked, this, [this] { editExample(); });

  auto* same = lineBox(CommentField::same, QStringLiteral("sameBox"));
  auto* pickSame =
      button(QStringLiteral("..."), QStringLiteral("samePickButton"), page);
  pickSame->setFixedWidth(pickSame->fontMetrics().horizontalAdvance("....") +
                          16);
  connect(pickSame, &QPushButton::clicked, this, [this, same] {
    model_.setText(CommentField::same, fromQString(same->text(), codePage_));
    model_.pickSame(
        pick(model_.text(CommentField::same), &ReferenceModel::initMember));
  });

  auto* lists = new QHBoxLayout;
  lists->addWidget(seeAlsoBox_);
  lists->addWidget(examplesBox_);
  auto* sameRow = new QHBoxLayout;
  sameRow->addWidget(
      label(QStringLiteral("Same &documentation as:"), same, page));
  sameRow->addWidget(same, 1);
  sameRow->addWidget(pickSame);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(lists, 1);
  layout->addLayout(sameRow);
  return page;
}

QWidget* EditComment::buildMiscTab() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout;
  auto* author = lineBox(CommentField::author, QStringLiteral("authorBox"));
  auto* version = lineBox(CommentField::version, QStringLiteral("versionBox"));
  auto* revision =
      lineBox(CommentField::revision, QStringLiteral("revisionBox"));
  form->addRow(label(QStringLiteral("&Author"), author, page), author);
  form->addRow(label(QStringLiteral("&Version"), version, page), version);
  form->addRow(label(QStringLiteral("&Revision"), revision, page), revision);
  includeSourceBox_ =
      new QCheckBox(QStringLiteral("&Include source code"), page);
  includeSourceBox_->setObjectName(QStringLiteral("includeSourceBox"));
  connect(includeSourceBox_, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) model_.setIncludeSource(on);
  });
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addWidget(includeSourceBox_);
  layout->addStretch();
  return page;
}

QWidget* EditComment::buildUserTab() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout;
  for (int n = 0; n < 5; ++n) {
    auto* box = lineBox(userField(n), QStringLiteral("user%1Box").arg(n + 1));
    auto* caption =
        label(toQString(model_.userFieldLabel(n), codePage_), box, page);
    userLabels_.push_back(caption);
    form->addRow(caption, box);
  }
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addStretch();
  return page;
}

QWidget* EditComment::buildSourceTab() {
  auto* page = new QWidget(this);
  sourceView_ = new QPlainTextEdit(page);
  sourceView_->setObjectName(QStringLiteral("sourceView"));
  sourceView_->setReadOnly(true);
  sourceView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sourceView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* options =
      button(QStringLiteral("&Options"), QStringLiteral("optionsButton"), page);
  connect(options, &QPushButton::clicked, this, [this] { showOptions(); });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(options);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(sourceView_, 1);
  layout->addLayout(row);
  return page;
}

void EditComment::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Nothing to edit (a selection, no code module): the window goes away as
  // soon as it comes up.
  if (!model_.element()) QTimer::singleShot(0, this, [this] { reject(); });
}

bool EditComment::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !refreshing_) {
    if (watched == parameterDescriptionBox_) {
      model_.parameters().setDescription(boxTextFromQString(
          parameterDescriptionBox_->toPlainText(), codePage_));
    } else {
      for (const auto& [field, box] : boxes_)
        if (box == watched) model_.setText(field, boxText(box, codePage_));
    }
  }
  return QDialog::eventFilter(watched, event);
}

void EditComment::storeBoxes() {
  // Read every box before storing any: each store redraws the boxes from
  // the model.
  std::vector<std::pair<CommentField, std::string>> texts;
  for (const auto& [field, box] : boxes_)
    texts.emplace_back(field, boxText(box, codePage_));
  std::string parameter =
      boxTextFromQString(parameterDescriptionBox_->toPlainText(), codePage_);
  bool parameterShown = parameterDescriptionBox_->isEnabled();
  for (const auto& [field, text] : texts) model_.setText(field, text);
  if (parameterShown) model_.parameters().setDescription(parameter);
  settingsGrid_->storeEditor();
  seeAlsoBox_->storeBoxes();
  examplesBox_->storeBoxes();
}

void EditComment::refreshFields() {
  refreshing_ = true;
  setWindowTitle(toQString(model_.caption(), codePage_));
  for (const auto& [field, box] : boxes_)
    setBoxText(box, model_.text(field), codePage_);
  includeSourceBox_->setChecked(model_.includeSource());
  updateOnStartupBox_->setChecked(model_.updateOnStartup());
  for (int n = 0; n < static_cast<int>(userLabels_.size()); ++n)
    userLabels_[static_cast<std::size_t>(n)]->setText(
        toQString(model_.userFieldLabel(n), codePage_));
  refreshing_ = false;
}

void EditComment::refreshParameters() {
  refreshing_ = true;
  const ParameterListModel& params = model_.parameters();
  parametersTab_->setEnabled(params.enabled());
  bool same =
      parameterList_->count() == static_cast<int>(params.params().size());
  for (int i = 0; same && i < parameterList_->count(); ++i)
    same =
        parameterList_->item(i)->text() ==
        toQString(params.params()[static_cast<std::size_t>(i)].name, codePage_);
  if (!same) {
    parameterList_->clear();
    for (const EditorParam& p : params.params())
      parameterList_->addItem(toQString(p.name, codePage_));
  }
  parameterList_->setCurrentRow(params.selected());
  QString description = boxTextToQString(params.description(), codePage_);
  if (parameterDescriptionBox_->toPlainText() != description)
    parameterDescriptionBox_->setPlainText(description);
  parameterDescriptionBox_->setEnabled(params.selected() >= 0);
  bool grid = params.gridEnabled();
  settingsLabel_->setEnabled(grid);
  addSettingButton_->setEnabled(grid);
  removeSettingButton_->setEnabled(grid && !params.gridRows().empty());
  refreshing_ = false;
}

void EditComment::refreshSourceView() {
  storeBoxes();
  sourceView_->setPlainText(
      boxTextToQString(model_.sourceCodeView(), codePage_));
}

bool EditComment::apply() {
  storeBoxes();
  if (!model_.apply(services_.saveSettings)) return false;
  if (tabs_->currentWidget() == sourceTab_) refreshSourceView();
  return true;
}

std::string EditComment::pick(const std::string& current,
                              void (ReferenceModel::*init)()) {
  ReferenceModel reference(settings_);
  reference.setWrapper(model_.element());
  reference.setSelected(current);
  (reference.*init)();
  return pickReference_(reference);
}

void EditComment::findInterestingReferences() {
  storeBoxes();
  InterestLinksModel links(
      services_.ide ? model_.interestingReferenceCandidates(*services_.ide)
                    : std::vector<std::string>());
  chooseInteresting_(links);
  model_.addInterestingReferences(links.result());
}

void EditComment::createExample() {
  examplesBox_->storeBoxes();
  std::string path =
      chooseSaveFile_("Create New Example File", model_.exampleFolder(),
                      model_.proposedExampleFileName(), kExampleFilter);
  if (path.empty()) return;
  if (services_.files) {
    model_.createExampleFile(path, *services_.files);
    return;
  }
  DiskFileSystem disk;
  WindowMessageBox messages(this);
  Progress progress;
  FileServices files{disk, messages, progress};
  model_.createExampleFile(path, files);
}

void EditComment::editExample() {
  examplesBox_->storeBoxes();
  WindowMessageBox fallback(this);
  auto open = services_.open ? services_.open : [](const std::string& file) {
    // A path is the file system's bytes, not text of the project.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(
        QFile::decodeName(QByteArray::fromStdString(file))));
  };
  model_.editExample(open, services_.messages ? *services_.messages : fallback);
}

void EditComment::showOptions() {
  EditCommentOptions options(settings_, this);
  options.exec();
  if (tabs_->currentWidget() == sourceTab_) refreshSourceView();
}

void EditComment::nextTab() {
  tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

bool showCommentEditor(VBE& ide, ProjectSettings& settings,
                       EditCommentServices services, QWidget* parent) {
  CodePane* pane = ide.ActiveCodePane();
  WindowMessageBox fallback(parent);
  if (!commentEditorMayOpen(pane,
                            services.messages ? *services.messages : fallback))
    return false;
  CommentEditorModel model(settings);
  if (pane) model.openAtCaret(*pane);
  services.ide = &ide;
  EditComment dialog(model, settings, std::move(services), parent);
  dialog.exec();
  return model.element() != nullptr;
}

}  // namespace scrivlet
