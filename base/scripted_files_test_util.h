// For tests: files in memory whose writes fail as a script says, and a
// message box that answers from a script.
#ifndef SCRIVLET_BASE_SCRIPTED_FILES_TEST_UTIL_H_
#define SCRIVLET_BASE_SCRIPTED_FILES_TEST_UTIL_H_

#include <deque>
#include <map>
#include <sstream>
#include <string>

#include "base/file_system.h"
#include "base/message_box.h"

namespace scrivlet {

// Files in memory; each write or append first takes the next scripted
// failure, if any.
class ScriptedFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::deque<int> failures;

  int readFile(const std::string& path, std::string& bytes) override {
    auto it = files.find(path);
    if (it == files.end()) return fileError::fileNotFound;
    bytes = it->second;
    return 0;
  }
  int writeFile(const std::string& path, const std::string& bytes) override {
    if (int error = nextFailure()) return error;
    files[path] = bytes;
    return 0;
  }
  int appendFile(const std::string& path, const std::string& bytes) override {
    if (int error = nextFailure()) return error;
    files[path] += bytes;
    return 0;
  }
  int deleteFile(const std::string& path) override {
    return files.erase(path) ? 0 : fileError::fileNotFound;
  }
  int moveFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return fileError::fileNotFound;
    if (files.count(to)) return fileError::fileAlreadyExists;
    files[to] = it->second;
    files.erase(from);
    return 0;
  }
  int createFolder(const std::string&) override { return 0; }
  bool fileExists(const std::string& path) const override {
    return files.count(path) != 0;
  }
  bool folderExists(const std::string&) const override { return true; }

 private:
  int nextFailure() {
    if (failures.empty()) return 0;
    int error = failures.front();
    failures.pop_front();
    return error;
  }
};

// Answers from a script and records every box it was asked to show.
class ScriptedMessageBox : public MessageBox {
 public:
  std::deque<MessageAnswer> answers;
  std::string shown;

  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon icon) override {
    std::ostringstream line;
    line << title << " | " << text << " | " << static_cast<int>(buttons)
         << " | " << static_cast<int>(icon) << "\n";
    shown += line.str();
    if (answers.empty()) return MessageAnswer::None;
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_SCRIPTED_FILES_TEST_UTIL_H_
