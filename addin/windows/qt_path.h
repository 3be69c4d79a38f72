// Paths between the file system's bytes and a window's QString. Unlike the
// text of a project, a path is in the system's own encoding, whatever code
// page the project is written in.
#ifndef SCRIVLET_ADDIN_WINDOWS_QT_PATH_H_
#define SCRIVLET_ADDIN_WINDOWS_QT_PATH_H_

#include <QString>
#include <string>

namespace scrivlet {

QString fromPath(const std::string& path);
std::string toPath(const QString& path);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_QT_PATH_H_
