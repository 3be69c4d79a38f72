#include "addin/windows/indent_example_window.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "addin/indent_example.h"

namespace scrivlet {

namespace {

QLabel* heading(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

// Blanks are what the example is about: a fixed-width font shows every one.
QLabel* sample(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  label->setTextFormat(Qt::PlainText);
  label->setContentsMargins(16, 0, 0, 0);
  return label;
}

}  // namespace

IndentExampleWindow::IndentExampleWindow(QWidget* parent)
    : QDialog(parent),
      outputFile_(sample(QStringLiteral("outputFileText"), this)),
      htmlLooks_(sample(QStringLiteral("htmlText"), this)),
      rtfLooks_(sample(QStringLiteral("rtfText"), this)) {
  setWindowTitle(QStringLiteral("Indentation example"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading("Comment:", this));
  // One label per line, set as closely as the lines of the texts below.
  auto* comment = new QVBoxLayout;
  comment->setSpacing(0);
  int line = 1;
  for (const std::string& text : IndentExample::commentLines()) {
    QLabel* label = sample(QStringLiteral("commentLine%1").arg(line++), this);
    label->setText(QString::fromStdString(text));
    comment->addWidget(label);
  }
  layout->addLayout(comment);
  layout->addSpacing(8);
  layout->addWidget(heading("Output going to documentation file:", this));
  layout->addWidget(outputFile_);
  layout->addSpacing(8);
  layout->addWidget(heading("How it looks in CHM and HTML:", this));
  layout->addWidget(htmlLooks_);
  layout->addSpacing(8);
  layout->addWidget(heading("How it looks in RTF and HLP:", this));
  layout->addWidget(rtfLooks_);
  layout->addStretch();
  layout->addSpacing(12);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close =
      buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("closeButton"));
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  showTexts();
}

void IndentExampleWindow::showTexts() {
  IndentExample texts(indentMode);
  QString file = QString::fromStdString(texts.outputFile);
  file.replace(QChar('\r'), QChar('\n'));
  outputFile_->setText(file);
  htmlLooks_->setText(QString::fromStdString(texts.htmlLooks));
  rtfLooks_->setText(QString::fromStdString(texts.rtfLooks));
}

int IndentExampleWindow::exec() {
  showTexts();
  return QDialog::exec();
}

}  // namespace scrivlet
