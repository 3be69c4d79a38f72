#include "platform/disk_project_file.h"

#include "base/text.h"

namespace scrivlet {

namespace {

bool splitEntry(const std::string& line, std::string& key, std::string& value) {
  std::size_t equals = line.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  key = trim(line.substr(0, equals));
  value = line.substr(equals + 1);
  return true;
}

}  // namespace

DiskProjectFile::DiskProjectFile(std::string_view bytes)
    : lines_(splitRawLines(bytes)) {
  for (const DiskRawLine& l : lines_) {
    if (!l.eol.empty()) {
      lineEnd_ = l.eol;
      break;
    }
  }
}

// Sections at the end of the file hold other tools' settings, with keys of
// their own that must not be taken for the project's.
std::size_t DiskProjectFile::keyLinesEnd() const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (leftTrim(lines_[i].text).starts_with('[')) return i;
  return lines_.size();
}

std::vector<DiskProjectFile::Entry> DiskProjectFile::entries() const {
  std::vector<Entry> result;
  std::size_t end = keyLinesEnd();
  for (std::size_t i = 0; i < end; ++i) {
    Entry entry;
    if (splitEntry(lines_[i].text, entry.key, entry.value))
      result.push_back(std::move(entry));
  }
  return result;
}

bool DiskProjectFile::value(std::string_view key, std::string& value) const {
  std::size_t end = keyLinesEnd();
  std::string k;
  for (std::size_t i = 0; i < end; ++i)
    if (splitEntry(lines_[i].text, k, value) && equalsNoCase(k, key)) return true;
  return false;
}

void DiskProjectFile::setValue(std::string_view key, const std::string& value) {
  std::size_t end = keyLinesEnd();
  std::string k;
  std::string old;
  std::size_t lastKeyLine = 0;
  bool anyKey = false;
  for (std::size_t i = 0; i < end; ++i) {
    if (!splitEntry(lines_[i].text, k, old)) continue;
    if (equalsNoCase(k, key)) {
      if (old == value) return;
      lines_[i].text = lines_[i].text.substr(0, lines_[i].text.find('=') + 1) + value;
      changed_ = true;
      return;
    }
    lastKeyLine = i;
    anyKey = true;
  }
  std::size_t at = anyKey ? lastKeyLine + 1 : 0;
  lines_.insert(lines_.begin() + static_cast<long>(at),
                DiskRawLine{std::string(key) + "=" + value, lineEnd_});
  changed_ = true;
}

std::string DiskProjectFile::toBytes() const {
  std::string out;
  bool missingEnd = false;
  for (const DiskRawLine& l : lines_) {
    if (missingEnd) out += lineEnd_;
    out += l.text;
    out += l.eol;
    missingEnd = l.eol.empty();
  }
  return out;
}

std::string unquoteProjectValue(std::string_view value) {
  std::string v = trim(value);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
    return v.substr(1, v.size() - 2);
  return v;
}

std::string quoteProjectValue(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  out += '"';
  return out;
}

}  // namespace scrivlet
