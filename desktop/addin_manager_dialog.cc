#include "desktop/addin_manager_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QHeaderView>
#include <QVBoxLayout>

namespace scrivlet {

namespace {

// The load behaviour as the list shows it: "Startup / Loaded".
QString behaviour(bool loaded, bool onStartup) {
  QStringList parts;
  if (onStartup) parts << QStringLiteral("Startup");
  parts << (loaded ? QStringLiteral("Loaded") : QStringLiteral("Unloaded"));
  return parts.join(QStringLiteral(" / "));
}

}  // namespace

AddinManagerDialog::AddinManagerDialog(AddinManager& manager, QWidget* parent)
    : QDialog(parent), manager_(manager) {
  setObjectName(QStringLiteral("addinManager"));
  setWindowTitle(QStringLiteral("Add-In Manager"));

  list_ = new QTreeWidget;
  list_->setObjectName(QStringLiteral("addinList"));
  list_->setHeaderLabels(
      {QStringLiteral("Available Add-Ins"), QStringLiteral("Load Behavior")});
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(1, QHeaderView::Interactive);
  list_->header()->resizeSection(1, 150);
  for (const auto& addin : manager.addins()) {
    Choice choice{addin.get(), addin->loaded(), manager.loadOnStartup(*addin)};
    choices_.push_back(choice);
    list_->addTopLevelItem(new QTreeWidgetItem(
        {addin->name, behaviour(choice.loaded, choice.onStartup)}));
  }

  description_ = new QLabel;
  description_->setObjectName(QStringLiteral("descriptionLabel"));
  description_->setWordWrap(true);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setMinimumHeight(48);
  auto* descriptionBox = new QGroupBox(QStringLiteral("Description"));
  auto* descriptionLayout = new QVBoxLayout(descriptionBox);
  descriptionLayout->addWidget(description_);

  loaded_ = new QCheckBox(QStringLiteral("&Loaded/Unloaded"));
  loaded_->setObjectName(QStringLiteral("loadedCheck"));
  onStartup_ = new QCheckBox(QStringLiteral("Load on &Startup"));
  onStartup_->setObjectName(QStringLiteral("loadOnStartupCheck"));
  auto* behaviourBox = new QGroupBox(QStringLiteral("Load Behavior"));
  auto* behaviourLayout = new QVBoxLayout(behaviourBox);
  behaviourLayout->addWidget(loaded_);
  behaviourLayout->addWidget(onStartup_);
  behaviourLayout->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok |
                                       QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
  buttons->button(QDialogButtonBox::Cancel)
      ->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    apply();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* lower = new QHBoxLayout;
  lower->addWidget(descriptionBox, 1);
  lower->addWidget(behaviourBox);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(lower);
  layout->addWidget(buttons);
  resize(520, 380);

  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this] { showCurrent(); });
  connect(loaded_, &QCheckBox::toggled, this, [this] { choose(); });
  connect(onStartup_, &QCheckBox::toggled, this, [this] { choose(); });
  if (list_->topLevelItemCount() > 0)
    list_->setCurrentItem(list_->topLevelItem(0));
  showCurrent();
}

void AddinManagerDialog::showCurrent() {
  int row = list_->indexOfTopLevelItem(list_->currentItem());
  bool any = row >= 0;
  loaded_->setEnabled(any);
  onStartup_->setEnabled(any);
  const QSignalBlocker blockLoaded(loaded_);
  const QSignalBlocker blockStartup(onStartup_);
  loaded_->setChecked(any && choices_[std::size_t(row)].loaded);
  onStartup_->setChecked(any && choices_[std::size_t(row)].onStartup);
  description_->setText(any ? choices_[std::size_t(row)].addin->description
                            : QString());
}

void AddinManagerDialog::choose() {
  int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) return;
  choices_[std::size_t(row)].loaded = loaded_->isChecked();
  choices_[std::size_t(row)].onStartup = onStartup_->isChecked();
  refreshRow(row);
}

void AddinManagerDialog::refreshRow(int row) {
  const Choice& choice = choices_[std::size_t(row)];
  list_->topLevelItem(row)->setText(1, behaviour(choice.loaded, choice.onStartup));
}

void AddinManagerDialog::apply() {
  for (Choice& choice : choices_) {
    if (choice.onStartup != manager_.loadOnStartup(*choice.addin))
      manager_.setLoadOnStartup(*choice.addin, choice.onStartup);
    if (choice.loaded && !choice.addin->loaded())
      choice.loaded = manager_.load(*choice.addin, ext_cm_AfterStartup);
    else if (!choice.loaded && choice.addin->loaded())
      manager_.unload(*choice.addin, ext_dm_UserClosed);
  }
}

}  // namespace scrivlet
