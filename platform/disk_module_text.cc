#include "platform/disk_module_text.h"

#include <algorithm>

#include "base/text.h"

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
  forEachRawLine(bytes, [&](std::string_view text, std::string_view eol) {
    lines.push_back({std::string(text), std::string(eol)});
  });
  return lines;
}

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

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

namespace {

// A line end that outlives the text it came from.
std::string_view lastingLineEnd(std::string_view eol) {
  if (eol == "\r\n") return "\r\n";
  if (eol == "\n") return "\n";
  if (eol == "\r") return "\r";
  return {};
}

}  // namespace

DiskModuleText::DiskModuleText(std::string_view bytes) {
  char* copy = new char[bytes.size()];
  bytes.copy(copy, bytes.size());
  source_.reset(copy);
  std::string_view source(copy, bytes.size());
  // Editors that save UTF-8 may put a byte-order mark first: it is no part
  // of the VERSION or Attribute line behind it.
  byteOrderMark_ = startsWith(source, kUtf8ByteOrderMark);
  if (byteOrderMark_) source.remove_prefix(kUtf8ByteOrderMark.size());
  lines_.reserve(static_cast<std::size_t>(
      std::count(source.begin(), source.end(), '\n') + 1));

  // The header: VERSION, Object = ..., the designer blocks Begin ... End
  // (nested, BeginProperty ... EndProperty included), the class block
  // BEGIN ... END and the module's attribute lines, up to the first other
  // line. Attribute lines are hidden only directly under a member's
  // declaration; anywhere else they are ordinary text of the module.
  bool inHeader = true;
  int blockDepth = 0;
  bool sawLineEnd = false;
  bool underMember = false;
  DiskModuleParser parser;
  forEachRawLine(source, [&](std::string_view text, std::string_view eol) {
    if (!sawLineEnd && !eol.empty()) {
      lineEnd_ = std::string(eol);
      sawLineEnd = true;
    }
    if (inHeader) {
      std::string_view word = firstWord(text);
      bool header = true;
      if (blockDepth > 0 || opensBlock(word)) {
        if (opensBlock(word)) ++blockDepth;
        else if (closesBlock(word)) --blockDepth;
        if (blockDepth < 0) blockDepth = 0;
      } else if (!equalsNoCase(word, "VERSION") && !isObjectLine(text) &&
                 !isModuleAttributeLine(text)) {
        header = inHeader = false;
      }
      if (header) {
        header_.push_back({std::string(text), std::string(eol)});
        return;
      }
    }
    if (underMember && isMemberAttributeLine(text)) {
      lines_.back().hidden.push_back({std::string(text), std::string(eol)});
      return;
    }
    parser.feed(text);
    underMember = parser.endedMemberDeclaration();
    lines_.push_back({text, eol, {}});
  });
  // The parser has seen every visible line, in order: what parse() would
  // see again.
  readLayout_ = parser.finish();
  haveReadLayout_ = true;
}

std::string DiskModuleText::toBytes() const {
  std::string out(byteOrderMark_ ? kUtf8ByteOrderMark : "");
  bool missingEnd = false;
  // A line that had no line end because it was last gets one when lines
  // now follow it.
  auto emit = [&](std::string_view text, std::string_view eol) {
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
  for (const std::string& text : lines)
    added.push_back({inserted_.emplace_back(text), lastingLineEnd(lineEnd_), {}});
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

long DiskModuleText::fileLineOf(long visibleLine) const {
  long at = static_cast<long>(header_.size());
  for (long n = 1; n < visibleLine && n <= lineCount(); ++n)
    at += 1 + static_cast<long>(lines_[n - 1].hidden.size());
  return at + 1;
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
