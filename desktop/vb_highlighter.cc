#include "desktop/vb_highlighter.h"

#include <QSet>

namespace scrivlet {

namespace {

// A block state: the line is (part of) a documentation comment.
constexpr int inDocComment = 1;

const QSet<QString>& keywords() {
  static const QSet<QString> words = [] {
    QSet<QString> set;
    for (const char* word :
         {"addressof", "and", "as", "attribute", "boolean", "byref", "byte",
          "byval", "call", "case", "const", "currency", "date", "declare",
          "defbool", "defint", "deflng", "defstr", "defvar", "dim", "do",
          "double", "each", "else", "elseif", "end", "enum", "eqv", "erase",
          "error", "event", "exit", "false", "for", "friend", "function",
          "get", "global", "gosub", "goto", "if", "imp", "implements", "in",
          "integer", "is", "let", "lib", "like", "long", "loop", "lset", "me",
          "mod", "new", "next", "not", "nothing", "object", "on", "optional",
          "option", "or", "paramarray", "preserve", "private", "property",
          "public", "raiseevent", "redim", "resume", "return", "rset",
          "select", "set", "single", "static", "step", "stop", "string",
          "sub", "then", "to", "true", "type", "typeof", "until", "variant",
          "wend", "while", "with", "withevents", "xor", "explicit", "compare",
          "base", "binary", "text", "alias", "optional", "empty", "null"})
      set.insert(QString::fromLatin1(word));
    return set;
  }();
  return words;
}

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

int commentStart(const QString& line) {
  bool inString = false;
  for (int i = 0; i < line.size(); ++i) {
    QChar c = line[i];
    if (c == u'"') {
      inString = !inString;
    } else if (!inString && c == u'\'') {
      return i;
    } else if (!inString && (c == u'R' || c == u'r') &&
               (i == 0 || !isWordChar(line[i - 1])) &&
               line.mid(i, 3).compare(u"rem", Qt::CaseInsensitive) == 0 &&
               (i + 3 == line.size() || !isWordChar(line[i + 3]))) {
      // "Rem" is a comment only where a statement starts.
      QString before = line.left(i).trimmed();
      if (before.isEmpty() || before.endsWith(u':')) return i;
    }
  }
  return -1;
}

VbHighlighter::VbHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document) {
  keyword_.setForeground(QColor(0x00, 0x00, 0x80));
  comment_.setForeground(QColor(0x00, 0x80, 0x00));
  docComment_.setForeground(QColor(0x00, 0x70, 0x70));
  docComment_.setFontItalic(true);
  string_.setForeground(QColor(0x80, 0x00, 0x00));
}

void VbHighlighter::highlightBlock(const QString& text) {
  int comment = commentStart(text);
  bool whole = comment >= 0 && text.left(comment).trimmed().isEmpty();
  bool doc = whole && (text.mid(comment).startsWith(u"'**") ||
                       (previousBlockState() == inDocComment &&
                        text.mid(comment).startsWith(u'\'')));
  setCurrentBlockState(doc ? inDocComment : 0);
  int end = comment >= 0 ? comment : static_cast<int>(text.size());
  for (int i = 0; i < end;) {
    if (text[i] == u'"') {
      int close = static_cast<int>(text.indexOf(u'"', i + 1));
      int stop = close < 0 || close >= end ? end : close + 1;
      setFormat(i, stop - i, string_);
      i = stop;
    } else if (text[i].isLetter() && (i == 0 || !isWordChar(text[i - 1]))) {
      int start = i;
      while (i < end && isWordChar(text[i])) ++i;
      if (keywords().contains(text.mid(start, i - start).toLower()))
        setFormat(start, i - start, keyword_);
    } else {
      ++i;
    }
  }
  if (comment >= 0)
    setFormat(comment, static_cast<int>(text.size()) - comment,
              doc ? docComment_ : comment_);
}

}  // namespace scrivlet
