// The windows show the project's ANSI bytes (Windows-1252) as Qt text and
// take typed text back as those bytes; nothing below the windows converts.
// Line breaks: the models hold CR LF, a Qt text box holds LF.
#ifndef SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_
#define SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_

#include <QString>
#include <string>

namespace scrivlet {

// "caf\xE9" -> "café"; "\x80" -> "€".
QString fromAnsi(const std::string& bytes);
// The reverse; a character that Windows-1252 cannot hold becomes "?".
std::string toAnsi(const QString& text);
// Multi-line box text: CR LF <-> LF.
QString boxTextFromAnsi(const std::string& bytes);
std::string boxTextToAnsi(const QString& text);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_
