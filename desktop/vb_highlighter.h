// Colours Visual Basic code as the environment's code window does: keywords
// blue, comments green, strings apart; the documentation comments that
// Scrivlet reads ("'**" and the comment lines under it) in a colour of
// their own, so a user sees which comments become documentation.
#ifndef SCRIVLET_DESKTOP_VB_HIGHLIGHTER_H_
#define SCRIVLET_DESKTOP_VB_HIGHLIGHTER_H_

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace scrivlet {

class VbHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  explicit VbHighlighter(QTextDocument* document);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat keyword_;
  QTextCharFormat comment_;
  QTextCharFormat docComment_;
  QTextCharFormat string_;
};

// Where the comment of a line starts (its apostrophe or "Rem"), -1 when it
// has none; an apostrophe inside a string does not count.
//   "x = 1 ' one" -> 6;  "s = \"it's\"" -> -1;  "Rem note" -> 0
int commentStart(const QString& line);

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_VB_HIGHLIGHTER_H_
