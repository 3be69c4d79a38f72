// A host with a copy of a project in a scratch folder, whose message boxes
// are written down instead of shown.
#ifndef SCRIVLET_DESKTOP_IDE_TEST_UTIL_H_
#define SCRIVLET_DESKTOP_IDE_TEST_UTIL_H_

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "desktop/ide_frame.h"

namespace scrivlet {

struct IdeFixture {
  IdeFixture() {
    frame.report = [this](const QString& title, const QString& text) {
      reports << title + QStringLiteral(": ") + text;
    };
    frame.askSaveChanges = [this](const QString&, const QString& text) {
      questions << text;
      return answer;
    };
  }

  // Copies examples/`name` into the scratch folder; the path of its copy.
  QString copyExample(const QString& name) {
    std::filesystem::copy(
        std::filesystem::path(SCRIVLET_SOURCE_DIR) / "examples" / name.toStdString(),
        path(name).toStdString(), std::filesystem::copy_options::recursive);
    return path(name);
  }
  QString path(const QString& name) const { return scratch.filePath(name); }
  void write(const QString& name, const std::string& bytes) const {
    std::ofstream(path(name).toStdString(), std::ios::binary) << bytes;
  }
  std::string read(const QString& name) const {
    std::ifstream file(path(name).toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }
  IdeCodeModule& module(const std::string& name) const {
    for (const auto& project : const_cast<IdeFrame&>(frame).vbe().projects())
      for (const auto& component : project->components())
        if (component->Name() == name && component->ideCodeModule())
          return *component->ideCodeModule();
    throw std::runtime_error("no module " + name);
  }

  QTemporaryDir scratch;
  IdeFrame frame;
  QStringList reports;
  QStringList questions;
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_TEST_UTIL_H_
