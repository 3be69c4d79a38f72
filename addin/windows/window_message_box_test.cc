#include "addin/windows/window_message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace scrivlet {
namespace {

// Answers the next box with its button `which` and records what it showed.
void answerWith(QMessageBox::StandardButton which, QString& shown) {
  QTimer::singleShot(0, [which, &shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->windowTitle() + " | " + box->text() + " | " +
            QString::number(box->buttons().size());
    box->button(which)->click();
  });
}

TEST(WindowMessageBox, AnswersWithTheButtonPressed) {
  WindowMessageBox boxes;
  QString shown;
  answerWith(QMessageBox::No, shown);
  EXPECT_EQ(boxes.show("Scrivlet", "Run its commands?", MessageButtons::YesNo,
                       MessageIcon::Question),
            MessageAnswer::No);
  EXPECT_EQ(shown, "Scrivlet | Run its commands? | 2");
  answerWith(QMessageBox::Ignore, shown);
  EXPECT_EQ(boxes.show("Error saving x file", "Disk full",
                       MessageButtons::AbortRetryIgnore, MessageIcon::Critical),
            MessageAnswer::Ignore);
  EXPECT_EQ(shown, "Error saving x file | Disk full | 3");
}

}  // namespace
}  // namespace scrivlet
