#include "addin/windows/text_input_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace scrivlet {

TextInputDialog::TextInputDialog(QWidget* parent)
    : QDialog(parent), text_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Enter default value of the tag"));
  text_->setObjectName(QStringLiteral("userText"));
  text_->setMinimumWidth(360);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok =
      buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"),
                                           QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    userText = text_->text();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TextInputDialog::load() {
  text_->setText(userText);
  text_->selectAll();
}

int TextInputDialog::exec() {
  load();
  return QDialog::exec();
}

}  // namespace scrivlet
