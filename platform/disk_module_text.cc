#include "platform/disk_module_text.h"

#include "source/text.h"

namespace scrivlet {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  return s.substr(i);
}

// The leading run of non-blank characters: "Begin VB.Form Form1" -> "Begin".
std::string_view firstWord(std::string_view s) {
  s = skipBlanks(s);
  std::size_t i = 0;
  while (i < s.size() && !isBlank(s[i])) ++i;
  return s.substr(0, i);
}

}  // namespace

std::vector<DiskRawLine> splitRawLines(std::string_view bytes) {
  std::vector<DiskRawLine> lines;
  std::size_t from = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    std::size_t eolLength = (c == '\r' && i + 1 < bytes.size() &&
                             bytes[i + 1] == '\n') ? 2 : 1;
    lines.push_back({std::string(bytes.substr(from, i - from)),
                     std::string(bytes.substr(i, eolLength))});
    i += eolLength - 1;
    from = i + 1;
  }
  if (from < bytes.size())
    lines.push_back({std::string(bytes.substr(from)), std::string()});
  return lines;
}

namespace {

// "Attribute VB_Name = ..." but not "Attribute VB_X.VB_Description = ...".
bool isModuleAttributeLine(std::string_view line) {
  std::string_view rest = skipBlanks(line);
  if (!equalsNoCase(firstWord(rest), "Attribute")) return false;
  rest = skipBlanks(rest.substr(9));
  std::size_t i = 0;
  while (i < rest.size() && !isBlank(rest[i]) && rest[i] != '=' &&
         rest[i] != '.')
    ++i;
  std::string_view name = rest.substr(0, i);
  return name.size() > 3 && equalsNoCase(name.substr(0, 3), "VB_") &&
         i < rest.size() && rest[i] != '.';
}

bool isObjectLine(std::string_view line) {
  std::string_view rest = skipBlanks(line);
  if (rest.size() < 6 || !equalsNoCase(rest.substr(0, 6), "Object")) return false;
  rest = skipBlanks(rest.substr(6));
  return !rest.empty() && rest.front() == '=';
}

bool opensBlock(std::string_view word) {
  return equalsNoCase(word, "Begin") || equalsNoCase(word, "BeginProperty");
}

bool closesBlock(std::string_view word) {
  return equalsNoCase(word, "End") || equalsNoCase(word, "EndProperty");
}

}  // namespace

DiskModuleText::DiskModuleText(std::string_view bytes) {
  std::vector<DiskRawLine> raw = splitRawLines(bytes);
  for (const DiskRawLine& l : raw) {
    if (!l.eol.empty()) {
      lineEnd_ = l.eol;
      break;
    }
  }
  std::size_t next = 0;
  readHeader(raw, next);

  // Attribute lines are hidden only directly under a member's declaration;
  // anywhere else they are ordinary text of the module.
  DiskModuleParser parser;
  bool underMember = false;
  lines_.reserve(raw.size() - next);
  for (; next < raw.size(); ++next) {
    DiskRawLine& l = raw[next];
    if (underMember && isMemberAttributeLine(l.text)) {
      lines_.back().hidden.push_back(std::move(l));
      continue;
    }
    parser.feed(l.text);
    underMember = parser.endedMemberDeclaration();
    lines_.push_back({std::move(l.text), std::move(l.eol), {}});
  }
  // The parser has seen every visible line, in order: what parse() would
  // see again.
  readLayout_ = parser.finish();
  haveReadLayout_ = true;
}

void DiskModuleText::readHeader(const std::vector<DiskRawLine>& raw,
                                std::size_t& next) {
  while (next < raw.size()) {
    const std::string& text = raw[next].text;
    std::string_view word = firstWord(text);
    if (equalsNoCase(word, "VERSION") || isObjectLine(text) ||
        isModuleAttributeLine(text)) {
      header_.push_back(raw[next++]);
    } else if (opensBlock(word)) {
      // Designer blocks nest ("Begin VB.Frame" inside "Begin VB.Form",
      // "BeginProperty Font" inside either); the class block is one level.
      int depth = 0;
      while (next < raw.size()) {
        std::string_view w = firstWord(raw[next].text);
        if (opensBlock(w)) ++depth;
        else if (closesBlock(w)) --depth;
        header_.push_back(raw[next++]);
        if (depth <= 0) break;
      }
    } else {
      break;
    }
  }
}

std::string DiskModuleText::toBytes() const {
  std::string out;
  bool missingEnd = false;
  // A line that had no line end because it was last gets one when lines
  // now follow it.
  auto emit = [&](const std::string& text, const std::string& eol) {
    if (missingEnd) out += lineEnd_;
    out += text;
    out += eol;
    missingEnd = eol.empty();
  };
  for (const DiskRawLine& l : header_) emit(l.text, l.eol);
  for (const DiskBodyLine& l : lines_) {
    emit(l.text, l.eol);
    for (const DiskRawLine& h : l.hidden) emit(h.text, h.eol);
  }
  return out;
}

void DiskModuleText::insertLines(long before,
                                 const std::vector<std::string>& lines) {
  haveReadLayout_ = false;
  std::vector<DiskBodyLine> added;
  added.reserve(lines.size());
  for (const std::string& text : lines) added.push_back({text, lineEnd_, {}});
  lines_.insert(lines_.begin() + (before - 1),
                std::make_move_iterator(added.begin()),
                std::make_move_iterator(added.end()));
}

void DiskModuleText::deleteLines(long start, long count) {
  haveReadLayout_ = false;
  auto first = lines_.begin() + (start - 1);
  auto last = first + count;
  for (auto it = first; it != last; ++it)
    for (DiskRawLine& h : it->hidden) detached_.push_back(std::move(h));
  lines_.erase(first, last);
}

std::string DiskModuleText::designerLine() const {
  for (const DiskRawLine& l : header_)
    if (opensBlock(firstWord(l.text))) return std::string(skipBlanks(l.text));
  return {};
}

std::string DiskModuleText::headerAttribute(std::string_view name) const {
  std::string value;
  for (const DiskRawLine& l : header_)
    if (attributeValue(l.text, {}, name, value)) return value;
  return {};
}

void DiskModuleText::setHeaderAttribute(std::string_view name,
                                        const std::string& value) {
  std::string ignored;
  std::string text = "Attribute " + std::string(name) + " = " + value;
  std::size_t insertAt = header_.size();
  bool sawAttribute = false;
  for (std::size_t i = 0; i < header_.size(); ++i) {
    if (attributeValue(header_[i].text, {}, name, ignored)) {
      if (value.empty())
        header_.erase(header_.begin() + static_cast<long>(i));
      else
        header_[i].text = text;
      return;
    }
    if (isModuleAttributeLine(header_[i].text)) {
      insertAt = i + 1;
      sawAttribute = true;
    }
  }
  if (value.empty()) return;
  if (!sawAttribute) insertAt = header_.size();
  header_.insert(header_.begin() + static_cast<long>(insertAt),
                 DiskRawLine{text, lineEnd_});
}

DiskModuleLayout DiskModuleText::parse() {
  if (haveReadLayout_) {
    haveReadLayout_ = false;
    return std::move(readLayout_);
  }
  DiskModuleParser parser;
  for (const DiskBodyLine& l : lines_) parser.feed(l.text);
  return parser.finish();
}

bool attributeValue(std::string_view line, std::string_view target,
                    std::string_view attribute, std::string& value) {
  std::string_view rest = skipBlanks(line);
  if (!equalsNoCase(firstWord(rest), "Attribute")) return false;
  rest = skipBlanks(rest.substr(9));
  if (!target.empty()) {
    if (rest.size() <= target.size() ||
        !equalsNoCase(rest.substr(0, target.size()), target) ||
        rest[target.size()] != '.')
      return false;
    rest.remove_prefix(target.size() + 1);
  }
  if (rest.size() < attribute.size() ||
      !equalsNoCase(rest.substr(0, attribute.size()), attribute))
    return false;
  rest = skipBlanks(rest.substr(attribute.size()));
  if (rest.empty() || rest.front() != '=') return false;
  value = rightTrim(skipBlanks(rest.substr(1)));
  return true;
}

std::string unquoteAttribute(std::string_view value) {
  if (value.empty() || value.front() != '"') return std::string(value);
  std::string out;
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (value[i] != '"') {
      out += value[i];
    } else if (i + 1 < value.size() && value[i + 1] == '"') {
      out += '"';
      ++i;
    } else {
      break;
    }
  }
  return out;
}

std::string quoteAttribute(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else if (c == '\n') {
      out += ' ';
    } else if (c == '"') {
      out += "\"\"";
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::vector<std::string> splitAnyLineBreak(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(from, i - from));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    from = i + 1;
  }
  lines.emplace_back(text.substr(from));
  return lines;
}

long DiskModuleText::visibleLineAt(long fileLine, bool& inHeader) const {
  inHeader = fileLine >= 1 && fileLine <= static_cast<long>(header_.size());
  if (fileLine < 1 || inHeader) return 0;
  long at = static_cast<long>(header_.size());
  for (long n = 1; n <= lineCount(); ++n) {
    if (++at == fileLine) return n;
    at += static_cast<long>(lines_[n - 1].hidden.size());
    if (fileLine <= at) return 0;
  }
  return -1;
}

}  // namespace scrivlet
