#include "addin/windows/qt_path.h"

#include <QFile>

namespace scrivlet {

QString fromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace scrivlet
