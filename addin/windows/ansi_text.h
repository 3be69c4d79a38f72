// The edge between the add-in's ANSI bytes and the text a window shows.
// Texts of the user's (tag names, default texts, the title page) are bytes
// in the project's code page; paths are bytes of the file system.
#ifndef SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_
#define SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_

#include <QString>
#include <string>

namespace scrivlet {

// Bytes of `codePage` as a window shows them; CR line breaks become "\n".
QString fromAnsi(const std::string& bytes, int codePage);
// What a window holds, back in `codePage`; "\n" becomes CR. A character
// the code page lacks becomes "?", as the environment's conversion does.
std::string toAnsi(const QString& text, int codePage);

QString fromPath(const std::string& path);
std::string toPath(const QString& path);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_ANSI_TEXT_H_
