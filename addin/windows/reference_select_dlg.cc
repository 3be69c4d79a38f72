#include "addin/windows/reference_select_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "addin/windows/qt_text.h"

namespace scrivlet {

namespace {

std::string openFileWithDialog(QWidget* parent, const std::string& title,
                               const std::string& folder,
                               const std::string& proposed,
                               const std::string& filter) {
  QString start = toQString(folder);
  if (!start.isEmpty() && !start.endsWith('/')) start += '/';
  return fromQString(QFileDialog::getOpenFileName(parent, toQString(title),
                                                  start + toQString(proposed),
                                                  toQString(filter)));
}

}  // namespace

ReferenceSelectDlg::ReferenceSelectDlg(ReferenceModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  chooseFile_ = [this](const std::string& title, const std::string& folder,
                       const std::string& proposed, const std::string& filter) {
    return openFileWithDialog(this, title, folder, proposed, filter);
  };
  build();
  following_ = model_.changes().subscribe([this] { refresh(); });
  refresh();
}

void ReferenceSelectDlg::build() {
  setWindowTitle(QStringLiteral("Select reference"));
  setObjectName(QStringLiteral("referenceSelectDlg"));

  choice_ = new QGroupBox(this);
  choice_->setObjectName(QStringLiteral("targetChoice"));
  memberOption_ = new QRadioButton(QStringLiteral("&Project member"), choice_);
  memberOption_->setObjectName(QStringLiteral("projectMemberOption"));
  fileOption_ = new QRadioButton(QStringLiteral("&File"), choice_);
  fileOption_->setObjectName(QStringLiteral("fileOption"));
  auto* choiceLayout = new QHBoxLayout(choice_);
  choiceLayout->addWidget(memberOption_);
  choiceLayout->addWidget(fileOption_);
  choiceLayout->addStretch();
  connect(memberOption_, &QRadioButton::clicked, this,
          [this] { model_.choosePage(ReferenceModel::Page::member); });
  connect(fileOption_, &QRadioButton::clicked, this,
          [this] { model_.choosePage(ReferenceModel::Page::file); });

  memberPage_ = new QWidget(this);
  memberPage_->setObjectName(QStringLiteral("memberPage"));
  moduleCombo_ = new QComboBox(memberPage_);
  moduleCombo_->setObjectName(QStringLiteral("moduleCombo"));
  for (const std::string& name : model_.moduleNames())
    moduleCombo_->addItem(toQString(name, model_.codePage()));
  memberList_ = new QListWidget(memberPage_);
  memberList_->setObjectName(QStringLiteral("memberList"));
  auto* moduleLabel = new QLabel(QStringLiteral("&Module"), memberPage_);
  moduleLabel->setBuddy(moduleCombo_);
  auto* membersLabel = new QLabel(QStringLiteral("M&embers"), memberPage_);
  membersLabel->setBuddy(memberList_);
  auto* memberLayout = new QVBoxLayout(memberPage_);
  memberLayout->setContentsMargins(0, 0, 0, 0);
  memberLayout->addWidget(moduleLabel);
  memberLayout->addWidget(moduleCombo_);
  memberLayout->addWidget(membersLabel);
  memberLayout->addWidget(memberList_, 1);
  connect(moduleCombo_, &QComboBox::activated, this,
          [this](int index) { model_.selectModule(index); });
  connect(memberList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) model_.selectMember(row);
  });
  connect(memberList_, &QListWidget::itemDoubleClicked, this,
          [this] { accept(); });

  filePage_ = new QWidget(this);
  filePage_->setObjectName(QStringLiteral("filePage"));
  fileNameBox_ = new QLineEdit(filePage_);
  fileNameBox_->setObjectName(QStringLiteral("fileNameBox"));
  browseButton_ = new QPushButton(QStringLiteral("..."), filePage_);
  browseButton_->setObjectName(QStringLiteral("browseButton"));
  browseButton_->setAutoDefault(false);
  browseButton_->setFixedWidth(
      browseButton_->fontMetrics().horizontalAdvance("....") + 16);
  absolutePathBox_ = new QCheckBox(
      QStringLiteral(
          "File will be in other than output directory (use absolute path)"),
      filePage_);
  absolutePathBox_->setObjectName(QStringLiteral("absolutePathBox"));
  auto* fileLabel = new QLabel(QStringLiteral("File&name"), filePage_);
  fileLabel->setBuddy(fileNameBox_);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(fileNameBox_, 1);
  fileRow->addWidget(browseButton_);
  auto* fileLayout = new QVBoxLayout(filePage_);
  fileLayout->setContentsMargins(0, 0, 0, 0);
  fileLayout->addWidget(fileLabel);
  fileLayout->addLayout(fileRow);
  fileLayout->addWidget(absolutePathBox_);
  fileLayout->addStretch();
  connect(fileNameBox_, &QLineEdit::textEdited, this, [this](const QString& t) {
    model_.setFileName(fromQString(t, model_.codePage()));
  });
  connect(browseButton_, &QPushButton::clicked, this, [this] { browse(); });
  connect(absolutePathBox_, &QCheckBox::toggled, this,
          [this](bool on) { model_.setAbsolutePath(on); });

  pages_ = new QStackedWidget(this);
  pages_->addWidget(memberPage_);
  pages_->addWidget(filePage_);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("okButton"));
  auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(choice_);
  layout->addWidget(pages_, 1);
  layout->addWidget(buttons);
  resize(460, 400);
}

void ReferenceSelectDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The current link is shown when the window comes up, after the editor
  // has set it and chosen the kind of target.
  if (activated_) return;
  activated_ = true;
  model_.showCurrentReference();
  // A file alone needs a line, not the room of the member list.
  if (!model_.choiceVisible() && model_.page() == ReferenceModel::Page::file) {
    memberPage_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    resize(width(), minimumSizeHint().height());
  }
}

void ReferenceSelectDlg::refresh() {
  refreshing_ = true;
  bool filePage = model_.page() == ReferenceModel::Page::file;
  choice_->setVisible(model_.choiceVisible());
  memberOption_->setChecked(!filePage);
  fileOption_->setChecked(filePage);
  pages_->setCurrentWidget(filePage ? filePage_ : memberPage_);
  memberPage_->setEnabled(!filePage);
  filePage_->setEnabled(filePage);
  moduleCombo_->setCurrentIndex(model_.moduleIndex());
  refreshMembers();
  QString file = toQString(model_.fileName(), model_.codePage());
  if (fileNameBox_->text() != file) fileNameBox_->setText(file);
  absolutePathBox_->setChecked(model_.absolutePath());
  refreshing_ = false;
}

void ReferenceSelectDlg::refreshMembers() {
  const std::vector<std::string>& entries = model_.memberEntries();
  bool same = memberList_->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < memberList_->count(); ++i)
    same = memberList_->item(i)->text() ==
           toQString(entries[static_cast<std::size_t>(i)], model_.codePage());
  if (!same) {
    memberList_->clear();
    for (const std::string& entry : entries)
      memberList_->addItem(toQString(entry, model_.codePage()));
  }
  memberList_->setCurrentRow(model_.selectedMember());
  if (QListWidgetItem* item = memberList_->currentItem())
    memberList_->scrollToItem(item);
}

void ReferenceSelectDlg::browse() {
  model_.fileChosen(
      chooseFile_("Select Example File", model_.fileDialogFolder(),
                  model_.proposedFileName(), "Text (*.txt);;All files (*)"));
}

void ReferenceSelectDlg::accept() {
  model_.ok();
  QDialog::accept();
}

void ReferenceSelectDlg::reject() {
  model_.cancel();
  QDialog::reject();
}

}  // namespace scrivlet
