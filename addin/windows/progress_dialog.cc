#include "addin/windows/progress_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "addin/windows/qt_path.h"
#include "addin/windows/qt_text.h"
#include "base/text.h"

namespace scrivlet {

ProgressDialog::ProgressDialog(ProgressModel& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      animation_(new QLabel(this)),
      messages_(new QPlainTextEdit(this)),
      status_(new QStatusBar(this)),
      close_(new QPushButton(QStringLiteral("Close"), this)),
      showDocumentation_(
          new QPushButton(QStringLiteral("Show Documentation"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QString::fromLatin1(finishedTitle));
  // No close button in the title bar: only "Close" ends the window.
  setWindowFlags(
      (windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
      ~Qt::WindowCloseButtonHint & ~Qt::WindowContextHelpButtonHint);

  animation_->setObjectName(QStringLiteral("animation"));
  animation_->setFixedSize(48, 48);
  QSizePolicy keepPlace = animation_->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  animation_->setSizePolicy(keepPlace);
  messages_->setObjectName(QStringLiteral("messages"));
  messages_->setReadOnly(true);
  messages_->setLineWrapMode(QPlainTextEdit::NoWrap);
  messages_->setMinimumSize(560, 260);
  status_->setObjectName(QStringLiteral("statusBar"));
  status_->setSizeGripEnabled(false);

  close_->setObjectName(QStringLiteral("closeButton"));
  close_->setToolTip(QStringLiteral("Close the window"));
  showDocumentation_->setObjectName(QStringLiteral("showDocumentationButton"));
  showDocumentation_->setToolTip(
      QStringLiteral("Show generated documentation"));
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  cancel_->setToolTip(
      QStringLiteral("Stop the compilation and close the window"));
  close_->setAutoDefault(false);
  showDocumentation_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  connect(close_, &QPushButton::clicked, this, [this] {
    closing_ = true;
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.cancel(); });
  connect(showDocumentation_, &QPushButton::clicked, this,
          [this] { model_.showDocumentation(); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(animation_);
  buttons->addStretch();
  buttons->addWidget(showDocumentation_);
  buttons->addWidget(cancel_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(messages_, 1);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->setContentsMargins(11, 11, 11, 0);

  model_.pendingEvents = [] { QCoreApplication::processEvents(); };
  model_.stateChanged = [this] { showState(); };
  model_.messageAdded = [this](const std::string& text) { showMessage(text); };
  model_.messagesReplaced = [this] {
    QString text =
        toQString(replaceAll(model_.messages(), "\r\n", "\r"), codePage);
    // Each message ends its line; the box adds lines below the last one.
    if (text.endsWith(QChar('\n'))) text.chop(1);
    messages_->setPlainText(text);
  };
  if (!model_.open)
    model_.open = [](const std::string& path) {
      return QDesktopServices::openUrl(QUrl::fromLocalFile(fromPath(path)));
    };
  showState();
}

ProgressDialog::~ProgressDialog() {
  model_.pendingEvents = nullptr;
  model_.stateChanged = nullptr;
  model_.messageAdded = nullptr;
  model_.messagesReplaced = nullptr;
}

void ProgressDialog::showState() {
  setWindowTitle(QString::fromStdString(model_.title()));
  status_->showMessage(toQString(model_.status(), codePage));
  close_->setEnabled(model_.closeEnabled());
  showDocumentation_->setEnabled(model_.showDocumentationEnabled());
  cancel_->setEnabled(model_.cancelEnabled());
  bool animate = model_.animationVisible();
  if (animate && !movie_) {
    movie_ = new QMovie(fromPath(model_.animationFile()), QByteArray(), this);
    animation_->setMovie(movie_);
  }
  animation_->setVisible(animate);
  if (movie_) {
    if (animate)
      movie_->start();
    else
      movie_->stop();
  }
}

void ProgressDialog::showMessage(const std::string& text) {
  messages_->appendPlainText(toQString(text, codePage));
  messages_->verticalScrollBar()->setValue(
      messages_->verticalScrollBar()->maximum());
}

void ProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  closing_ = false;
  // After the window has painted itself, like the environment's activation.
  QTimer::singleShot(0, this, &ProgressDialog::activated);
}

void ProgressDialog::activated() {
  if (compiling_ || !isVisible()) return;
  compiling_ = true;
  bool closeNow = model_.activate();
  compiling_ = false;
  if (model_.failed()) QApplication::beep();
  if (closeNow) {
    closing_ = true;
    done(model_.failed() ? Rejected : Accepted);
  }
  emit compileFinished();
}

void ProgressDialog::reject() {
  if (closing_) QDialog::reject();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  if (closing_)
    QDialog::closeEvent(event);
  else
    event->ignore();
}

}  // namespace scrivlet
