#include "addin/windows/indent_example_window.h"

#include <QLabel>
#include <QtTest>

#include "screenshot.h"

namespace scrivlet {

class IndentExampleWindowTest : public QObject {
  Q_OBJECT

  static QString shown(IndentExampleWindow& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
  }

 private slots:
  void showsWhatEachModeMakesOfTheSample() {
    IndentExampleWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Indentation example"));
    QString comment;
    for (int line = 1; line <= 5; ++line)
      comment +=
          window.findChild<QLabel*>(QStringLiteral("commentLine%1").arg(line))
              ->text() +
          "|";
    QCOMPARE(comment, QStringLiteral("'**|'@rem This is|'an example|"
                                     "'     of current|''    indent mode|"));

    window.indentMode = 0;
    window.showTexts();
    QCOMPARE(shown(window, "outputFileText"),
             QStringLiteral(
                 "This is\nan example\n     of current\n'    indent mode"));
    QCOMPARE(shown(window, "htmlText"),
             QStringLiteral("This is an example of current ' indent mode"));
    QCOMPARE(
        shown(window, "rtfText"),
        QStringLiteral("This is an example      of current '    indent mode"));
    saveScreenshot(window, QStringLiteral("indent-example-keep"));

    window.indentMode = 1;
    window.showTexts();
    QCOMPARE(shown(window, "outputFileText"),
             QStringLiteral(
                 "This is\n  an example\n  of current\n      indent mode"));
    QCOMPARE(shown(window, "htmlText"),
             QStringLiteral("This is an example of current indent mode"));
    QCOMPARE(shown(window, "rtfText"),
             QStringLiteral("This is an example of current     indent mode"));
    saveScreenshot(window, QStringLiteral("indent-example-ignore"));
  }
};

QObject* newIndentExampleWindowTest() { return new IndentExampleWindowTest; }

}  // namespace scrivlet

#include "indent_example_window_test.moc"
