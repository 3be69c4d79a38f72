#include "addin/windows/link_list_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "addin/windows/qt_text.h"

namespace scrivlet {

LinkListBox::LinkListBox(const QString& title, const QString& name,
                         const QString& listTip, LinkListModel& model,
                         int codePage, QWidget* parent)
    : QGroupBox(title, parent), model_(model), codePage_(codePage) {
  setObjectName(name + QStringLiteral("Box"));
  linkBox_ = new QLineEdit(this);
  linkBox_->setObjectName(name + QStringLiteral("LinkBox"));
  labelBox_ = new QLineEdit(this);
  labelBox_->setObjectName(name + QStringLiteral("LabelBox"));
  auto* pick = new QPushButton(QStringLiteral("..."), this);
  pick->setObjectName(name + QStringLiteral("PickButton"));
  pick->setAutoDefault(false);
  pick->setFixedWidth(pick->fontMetrics().horizontalAdvance("....") + 16);
  list_ = new QListWidget(this);
  list_->setObjectName(name + QStringLiteral("List"));
  list_->setToolTip(listTip);
  auto* add = new QPushButton(QStringLiteral("Add"), this);
  add->setObjectName(name + QStringLiteral("AddButton"));
  add->setAutoDefault(false);
  removeButton_ = new QPushButton(QStringLiteral("Remove"), this);
  removeButton_->setObjectName(name + QStringLiteral("RemoveButton"));
  removeButton_->setAutoDefault(false);

  auto* linkLabel = new QLabel(QStringLiteral("Link:"), this);
  linkLabel->setBuddy(linkBox_);
  auto* labelLabel = new QLabel(QStringLiteral("Label:"), this);
  labelLabel->setBuddy(labelBox_);
  auto* boxes = new QGridLayout;
  boxes->addWidget(linkLabel, 0, 0);
  boxes->addWidget(linkBox_, 0, 1);
  boxes->addWidget(pick, 0, 2);
  boxes->addWidget(labelLabel, 1, 0);
  boxes->addWidget(labelBox_, 1, 1, 1, 2);
  buttonRow_ = new QHBoxLayout;
  buttonRow_->addWidget(add);
  buttonRow_->addWidget(removeButton_);
  buttonRow_->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addWidget(list_, 1);
  layout->addLayout(buttonRow_);

  connect(linkBox_, &QLineEdit::editingFinished, this,
          [this] { storeBoxes(); });
  connect(labelBox_, &QLineEdit::editingFinished, this,
          [this] { storeBoxes(); });
  connect(pick, &QPushButton::clicked, this, [this] {
    storeBoxes();
    if (pick_) pick_();
  });
  connect(add, &QPushButton::clicked, this, [this] {
    storeBoxes();
    model_.add();
  });
  connect(removeButton_, &QPushButton::clicked, this,
          [this] { model_.remove(); });
  connect(
      list_, &QListWidget::itemClicked, this,
      [this](QListWidgetItem* item) { model_.selectEntry(list_->row(item)); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) model_.selectEntry(row);
  });

  following_ = model_.changes().subscribe([this] { refresh(); });
  refresh();
}

QPushButton* LinkListBox::addButton(const QString& caption,
                                    const QString& objectName) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  buttonRow_->insertWidget(buttonRow_->count() - 1, button);
  return button;
}

void LinkListBox::storeBoxes() {
  if (refreshing_) return;
  model_.setLinkText(fromQString(linkBox_->text(), codePage_));
  model_.setLabelText(fromQString(labelBox_->text(), codePage_));
}

void LinkListBox::refresh() {
  refreshing_ = true;
  const std::vector<std::string>& entries = model_.entries();
  if (list_->count() != static_cast<int>(entries.size())) {
    list_->clear();
    for (const std::string& entry : entries)
      list_->addItem(toQString(entry, codePage_));
  } else {
    for (int i = 0; i < list_->count(); ++i)
      list_->item(i)->setText(
          toQString(entries[static_cast<std::size_t>(i)], codePage_));
  }
  list_->setCurrentRow(model_.selected());
  QString link = toQString(model_.linkText(), codePage_);
  if (linkBox_->text() != link) linkBox_->setText(link);
  QString label = toQString(model_.labelText(), codePage_);
  if (labelBox_->text() != label) labelBox_->setText(label);
  removeButton_->setEnabled(model_.removeEnabled());
  refreshing_ = false;
}

}  // namespace scrivlet
