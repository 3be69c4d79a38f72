#include "addin/windows/qt_text.h"

#include "base/code_page.h"
#include "base/text.h"

namespace scrivlet {

QString toQString(std::string_view ansi, int codePage) {
  std::string utf8 = ansiToUtf8(ansi, codePage);
  return QString::fromStdString(replaceAll(utf8, "\r", "\n"));
}

std::string fromQString(const QString& text, int codePage) {
  std::string utf8 = text.toStdString();
  utf8 = replaceAll(replaceAll(utf8, "\r\n", "\r"), "\n", "\r");
  return utf8ToAnsi(utf8, codePage);
}

}  // namespace scrivlet
