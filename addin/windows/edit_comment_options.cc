#include "addin/windows/edit_comment_options.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "addin/windows/qt_text.h"

namespace scrivlet {

EditCommentOptions::EditCommentOptions(ProjectSettings& settings,
                                       QWidget* parent)
    : QDialog(parent), settings_(settings), model_(settings) {
  setWindowTitle(QStringLiteral("Comment Editor Options"));
  setObjectName(QStringLiteral("editCommentOptions"));

  wordWrapBox_ =
      new QCheckBox(QStringLiteral("&Word wrap in source code comments"), this);
  wordWrapBox_->setObjectName(QStringLiteral("wordWrapBox"));
  wordWrapBox_->setToolTip(QStringLiteral(
      "Break the comment lines in source code to the specified length"));
  lengthBox_ = new QSpinBox(this);
  lengthBox_->setObjectName(QStringLiteral("lineLengthBox"));
  lengthBox_->setRange(CommentEditorOptions::minLength,
                       CommentEditorOptions::maxLength);
  lengthBox_->setToolTip(QStringLiteral("Set the line length in comments"));
  lengthLabel_ =
      new QLabel(QStringLiteral("&Line length (in characters)"), this);
  lengthLabel_->setBuddy(lengthBox_);
  eolBox_ = new QCheckBox(
      QStringLiteral("Show $EOL$ as new line. Write new line as $EOL$."), this);
  eolBox_->setObjectName(QStringLiteral("showEOLBox"));
  eolBox_->setToolTip(QStringLiteral(
      "Show $EOL$ in comments as new line. Write new line as $EOL$. New lines "
      "in comments are ignored."));

  connect(wordWrapBox_, &QCheckBox::toggled, this,
          [this](bool on) { model_.setWordWrap(on); });
  connect(lengthBox_, &QSpinBox::valueChanged, this, [this](int value) {
    if (!refreshing_) model_.setLengthText(std::to_string(value));
  });
  connect(lengthBox_, &QSpinBox::editingFinished, this, [this] {
    model_.setLengthText(fromQString(lengthBox_->text()));
    model_.leaveLengthBox();
  });
  connect(eolBox_, &QCheckBox::toggled, this,
          [this](bool on) { model_.setShowEOLAsNewLine(on); });

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("okButton"));
  auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });

  auto* lengthRow = new QHBoxLayout;
  lengthRow->setContentsMargins(24, 0, 0, 0);
  lengthRow->addWidget(lengthLabel_);
  lengthRow->addWidget(lengthBox_);
  lengthRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wordWrapBox_);
  layout->addLayout(lengthRow);
  layout->addSpacing(8);
  layout->addWidget(eolBox_);
  layout->addStretch();
  layout->addSpacing(12);
  layout->addWidget(buttons);
  setMinimumWidth(sizeHint().width() + 60);

  following_ = model_.changes().subscribe([this] { refresh(); });
  refresh();
}

void EditCommentOptions::refresh() {
  refreshing_ = true;
  wordWrapBox_->setChecked(model_.wordWrap());
  lengthLabel_->setEnabled(model_.lengthEnabled());
  lengthBox_->setEnabled(model_.lengthEnabled());
  lengthBox_->setValue(CommentEditorOptions::limitLength(
      std::atol(model_.lengthText().c_str())));
  eolBox_->setChecked(model_.showEOLAsNewLine());
  refreshing_ = false;
}

void EditCommentOptions::accept() {
  model_.ok(settings_);
  QDialog::accept();
}

}  // namespace scrivlet
