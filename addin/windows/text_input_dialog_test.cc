#include "addin/windows/text_input_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "screenshot.h"

namespace scrivlet {

class TextInputDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void okReturnsTheTextAndCancelKeepsTheCallers() {
    TextInputDialog dialog;
    QCOMPARE(dialog.windowTitle(),
             QStringLiteral("Enter default value of the tag"));
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("userText"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    auto* cancel =
        dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"));

    dialog.userText = QStringLiteral("See the manual");
    dialog.load();
    dialog.show();
    QCOMPARE(box->text(), QStringLiteral("See the manual"));
    saveScreenshot(dialog, QStringLiteral("text-input"));
    box->setText(QStringLiteral("changed"));
    cancel->click();
    QCOMPARE(dialog.userText, QStringLiteral("See the manual"));
    QVERIFY(!dialog.isVisible());

    dialog.load();
    dialog.show();
    box->clear();
    ok->click();
    QCOMPARE(dialog.userText, QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }
};

QObject* newTextInputDialogTest() { return new TextInputDialogTest; }

}  // namespace scrivlet

#include "text_input_dialog_test.moc"
