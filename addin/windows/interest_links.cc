#include "addin/windows/interest_links.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "addin/windows/qt_text.h"

namespace scrivlet {

InterestLinks::InterestLinks(InterestLinksModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle(QStringLiteral("Interesting references"));
  setObjectName(QStringLiteral("interestLinks"));
  auto* text = new QLabel(
      QStringLiteral("Following classes that implement, are implemented or "
                     "used by current member were found:"),
      this);
  text->setWordWrap(true);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("referenceList"));
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const std::string& entry : model_.entries())
    list_->addItem(toQString(entry));
  text->setBuddy(list_);
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (refreshing_) return;
    for (int i = 0; i < list_->count(); ++i)
      model_.setChosen(i, list_->item(i)->isSelected());
  });

  auto* buttons = new QDialogButtonBox(this);
  auto* add = buttons->addButton(QStringLiteral("&Add selected"),
                                 QDialogButtonBox::AcceptRole);
  add->setObjectName(QStringLiteral("addSelectedButton"));
  add->setDefault(true);
  auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(420, 300);

  following_ = model_.changes().subscribe([this] { refresh(); });
  refresh();
}

void InterestLinks::refresh() {
  refreshing_ = true;
  for (int i = 0; i < list_->count(); ++i)
    list_->item(i)->setSelected(model_.isChosen(i));
  refreshing_ = false;
}

void InterestLinks::accept() {
  model_.addSelected();
  QDialog::accept();
}

void InterestLinks::reject() {
  model_.cancel();
  QDialog::reject();
}

}  // namespace scrivlet
