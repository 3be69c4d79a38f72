#include "addin/windows/ansi_text.h"

#include <QHash>

#include "compiler/output_encoding.h"

namespace scrivlet {

namespace {

constexpr int utf8CodePage = 65001;

// Every byte of a single-byte code page by the character it stands for;
// empty for a code page whose characters take more than one byte.
QHash<char32_t, char> byteOfCharacter(int codePage) {
  QHash<char32_t, char> bytes;
  for (int b = 0x80; b < 0x100; ++b) {
    std::string one(1, static_cast<char>(b));
    QString character = QString::fromStdString(toUtf8(one, codePage));
    if (character.size() != 1 || character[0] == QChar(0xFFFD)) continue;
    bytes.insert(character[0].unicode(), static_cast<char>(b));
  }
  return bytes;
}

}  // namespace

QString fromAnsi(const std::string& bytes, int codePage) {
  QString text = QString::fromStdString(toUtf8(bytes, codePage));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

std::string toAnsi(const QString& text, int codePage) {
  QString lines = text;
  lines.replace(QChar('\n'), QChar('\r'));
  if (codePage == utf8CodePage) return lines.toStdString();
  static int cachedPage = 0;
  static QHash<char32_t, char> cached;
  if (cachedPage != codePage) {
    cached = byteOfCharacter(codePage);
    cachedPage = codePage;
  }
  if (cached.isEmpty()) return lines.toStdString();
  std::string bytes;
  for (char32_t c : lines.toUcs4()) {
    if (c < 0x80)
      bytes += static_cast<char>(c);
    else
      bytes += cached.value(c, '?');
  }
  return bytes;
}

QString fromPath(const std::string& path) {
  return QString::fromLocal8Bit(path.data(),
                                static_cast<qsizetype>(path.size()));
}

std::string toPath(const QString& path) {
  return path.toLocal8Bit().toStdString();
}

}  // namespace scrivlet
