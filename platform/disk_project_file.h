// The text of a project file (.vbp): "Key=Value" lines, then optional
// "[Section]" blocks that belong to other tools. Values are read and set in
// the key lines only; every other byte is written back as it was read.
//
//   Module=modMain; Source\modMain.bas    key "Module", value "modMain; ..."
//   Name="Calc"                           key "Name", value "\"Calc\""
#ifndef SCRIVLET_PLATFORM_DISK_PROJECT_FILE_H_
#define SCRIVLET_PLATFORM_DISK_PROJECT_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/disk_module_text.h"

namespace scrivlet {

class DiskProjectFile {
 public:
  struct Entry {
    std::string key;
    std::string value;
  };

  explicit DiskProjectFile(std::string_view bytes);

  // The key lines in file order.
  std::vector<Entry> entries() const;
  // The value of the first line with `key` (any case); false when none.
  bool value(std::string_view key, std::string& value) const;
  // Replaces the value of `key`, or adds a line for it after the last key
  // line.
  void setValue(std::string_view key, const std::string& value);

  std::string toBytes() const;
  bool changed() const { return changed_; }
  void markSaved() { changed_ = false; }

 private:
  std::size_t keyLinesEnd() const;

  std::vector<DiskRawLine> lines_;
  std::string lineEnd_ = "\r\n";
  bool changed_ = false;
};

// "\"Calc\"" -> "Calc"; a value without quotes stays as is.
std::string unquoteProjectValue(std::string_view value);
// The reverse; line breaks become spaces, as a value is one line.
std::string quoteProjectValue(std::string_view text);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_PROJECT_FILE_H_
