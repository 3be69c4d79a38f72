// The edge between the add-in's text (bytes in the project's ANSI code page,
// lines joined by CR) and the windows' QString. Every window converts here
// and nowhere else.
#ifndef SCRIVLET_ADDIN_WINDOWS_QT_TEXT_H_
#define SCRIVLET_ADDIN_WINDOWS_QT_TEXT_H_

#include <QString>

#include <string>
#include <string_view>

namespace scrivlet {

// The code page the windows assume when nobody names the project's own.
inline constexpr int windowsCodePage = 1252;

// ANSI bytes as a QString; CR line breaks become '\n' for Qt's editors.
QString toQString(std::string_view ansi, int codePage = windowsCodePage);
// A QString as ANSI bytes, '\n' (and "\r\n") becoming CR.
std::string fromQString(const QString& text, int codePage = windowsCodePage);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_QT_TEXT_H_
