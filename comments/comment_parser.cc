#include "comments/comment_parser.h"

#include <utility>

#include "base/text.h"

namespace scrivlet {

namespace {

constexpr std::string_view kBuiltInTags[] = {
    "@see",    "@param",  "@rem",      "@same",    "@return",       "@example",
    "@set",    "@author", "@revision", "@version", "@includesource"};

// The value of a `tag` line: the text after the tag, trimmed. A tag needs no
// separator, so "@returns x" gives "s x".
bool trimmedTagValue(std::string_view trimmed, std::string_view tag,
                     std::string& value) {
  if (tag.empty() || !startsWith(trimmed, tag)) return false;
  value = trimmedView(trimmed.substr(tag.size()));
  return true;
}

bool tagValue(std::string_view line, std::string_view tag, std::string& value) {
  // Most lines are not the tag's: where they start rules them out before
  // they are trimmed.
  std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || line.substr(start, tag.size()) != tag)
    return false;
  return trimmedTagValue(trimmedView(line), tag, value);
}

// 1-based position of the first space or tab; 0 when there is none.
std::size_t firstBlank(std::string_view text) {
  std::size_t at = text.find_first_of(" \t");
  return at == std::string_view::npos ? 0 : at + 1;
}

// As firstBlank, skipping blanks inside double-quoted literals, where a
// doubled quote stands for one quote. An unterminated literal hides every
// blank after its opening quote.
std::size_t firstBlankOutsideQuotes(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t') return i + 1;
    if (c != '"') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    for (;;) {
      if (j >= text.size()) return 0;
      if (text[j] == '"') {
        if (j + 1 < text.size() && text[j + 1] == '"') {
          j += 2;
          continue;
        }
        break;
      }
      ++j;
    }
    i = j + 1;
  }
  return 0;
}

// Text before 1-based position `p`, and text from `p` on, both trimmed.
std::string trimmedBefore(std::string_view text, std::size_t p) {
  return trim(text.substr(0, p - 1));
}
std::string trimmedFrom(std::string_view text, std::size_t p) {
  return trim(text.substr(p - 1));
}

// "name description" -> "name\rdescription\r"; "name" -> "name\r".
std::string nameAndDescription(const std::string& value) {
  std::size_t p = firstBlank(value);
  if (p == 0) return value + CR;
  return trimmedBefore(value, p) + CR + trimmedFrom(value, p) + CR;
}

// Files a settings entry under `key`: into the group that already has that
// key, else into the first group without one. Only three parameters can
// have settings tables, so the entries of a fourth are dropped.
void fileSettingsEntry(std::array<std::vector<std::string>, 3>& groups,
                       std::array<std::string, 3>& keys,
                       const std::string& key, std::string entry) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (keys[g] == key) {
      groups[g].push_back(std::move(entry));
      return;
    }
  }
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (keys[g].empty()) {
      keys[g] = key;
      groups[g].push_back(std::move(entry));
      return;
    }
  }
}

}  // namespace

CommentParser::CommentParser(const ProjectSettings& settings)
    : settings_(settings) {}

void CommentParser::setComment(std::vector<std::string> lines) {
  owned_ = std::move(lines);
  readComment(owned_);
}

void CommentParser::readComment(const std::vector<std::string>& lines) {
  read_ = &lines;
  // An empty tag name would make "@" alone a tag and every "@" line its
  // value, so an unnamed user tag matches nothing.
  for (std::size_t n = 0; n < userTags_.size(); ++n) {
    const std::string& name = settings_.userName[n];
    std::string& tag = userTags_[n];
    if (name.empty())
      tag.clear();
    else if (tag.size() != name.size() + 1 || tag.compare(1, name.size(), name))
      tag = "@" + name;
  }
  lines_.clear();
  lines_.reserve(comment().size());
  for (const std::string& line : comment()) {
    std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) {
      lines_.push_back({0, 0, false});
      continue;
    }
    std::size_t size = line.find_last_not_of(' ') + 1 - start;
    lines_.push_back({start, size,
                      isTagLine(std::string_view(line).substr(start, size))});
  }
}

std::string_view CommentParser::trimmed(std::size_t i) const {
  return std::string_view(comment()[i]).substr(lines_[i].start, lines_[i].size);
}

bool CommentParser::isTagLine(std::string_view trimmed) const {
  if (trimmed.empty() || trimmed[0] != '@') return false;
  for (std::string_view tag : kBuiltInTags)
    if (startsWith(trimmed, tag)) return true;
  for (const std::string& tag : userTags_)
    if (!tag.empty() && startsWith(trimmed, tag)) return true;
  return false;
}

// Only tag lines can open with the tags asked for here, built in or the
// user's.
bool CommentParser::tagValueOf(std::size_t i, std::string_view tag,
                               std::string& value) const {
  return lines_[i].tag && trimmedTagValue(trimmed(i), tag, value);
}

// Indent mode 1 lets the writer indent the source freely: leading spaces
// go, and a line that must keep its indent (code in an example) marks it
// with a second apostrophe, which goes instead. The space appended stands
// in for the line break when the template joins lines without one.
std::string CommentParser::continuationText(const std::string& line) const {
  if (settings_.indentMode != 1) return line;
  if (!line.empty() && line[0] == '\'') {
    std::string rest = line.substr(1);
    if (rest.empty() || rest[0] != ' ') rest += ' ';
    return rest;
  }
  return leftTrim(line) + ' ';
}

std::string CommentParser::firstLineText(const std::string& line) const {
  if (settings_.indentMode != 1) return line;
  if (!line.empty() && line[0] == '\'') return line.substr(1);
  return leftTrim(line);
}

std::vector<std::string> CommentParser::continuationLines(
    std::size_t& i) const {
  std::vector<std::string> lines;
  for (; i < comment().size() && !lines_[i].tag; ++i)
    lines.push_back(continuationText(comment()[i]));
  return lines;
}

std::string CommentParser::getDescription() const {
  std::string text;
  for (std::size_t i = 0; i < comment().size(); ++i) {
    if (lines_[i].tag) break;
    const std::string& line = comment()[i];
    text += i == 0 ? firstLineText(line) : continuationText(line);
    text += CR;
  }
  return text;
}

std::vector<std::string> CommentParser::linkList(std::string_view tag) const {
  std::vector<std::string> list;
  for (std::size_t i = 0; i < comment().size(); ++i) {
    std::string value;
    if (!tagValueOf(i, tag, value) || value.empty()) continue;
    std::size_t p = firstBlank(value);
    list.push_back(p == 0 ? value + CR
                          : trimmedBefore(value, p) + CR + trimmedFrom(value, p));
  }
  return list;
}

std::vector<std::string> CommentParser::getSeeList() const {
  return linkList("@see");
}

std::vector<std::string> CommentParser::getExampleList() const {
  return linkList("@example");
}

std::vector<std::string> CommentParser::getParamList() const {
  std::vector<std::string> list;
  std::size_t i = 0;
  while (i < comment().size()) {
    std::string value;
    if (!tagValueOf(i++, "@param", value)) continue;
    std::string entry = nameAndDescription(value);
    for (const std::string& line : continuationLines(i)) entry += line + CR;
    list.push_back(std::move(entry));
  }
  return list;
}

// "@set" words are parameter, constant, value and description. The
// parameter name is remembered from one line to the next, but a line of one
// word is still filed under the last name seen.
std::array<std::vector<std::string>, 3> CommentParser::getSettingsList() const {
  std::array<std::vector<std::string>, 3> groups;
  std::array<std::string, 3> keys;
  std::string key;
  std::size_t i = 0;
  while (i < comment().size()) {
    std::string v;
    if (!tagValueOf(i++, "@set", v)) continue;
    std::string entry;
    if (std::size_t p = firstBlank(v)) {
      key = trimmedBefore(v, p);
      entry = key + CR;
      v = trimmedFrom(v, p);
    } else {
      entry = v + CR;
    }
    if (std::size_t q = firstBlank(v)) {
      entry += trimmedBefore(v, q) + CR;
      v = trimmedFrom(v, q);
    } else {
      entry += CR;
    }
    if (std::size_t r = firstBlankOutsideQuotes(v))
      entry += trimmedBefore(v, r) + CR + trimmedFrom(v, r) + CR;
    else
      entry += CR;
    for (const std::string& line : continuationLines(i)) entry += line + CR;
    fileSettingsEntry(groups, keys, key, std::move(entry));
  }
  return groups;
}

std::string CommentParser::firstTagText(std::string_view tag) const {
  std::size_t i = 0;
  std::string text;
  while (i < comment().size() && !tagValueOf(i, tag, text)) ++i;
  if (i == comment().size()) return std::string();
  ++i;
  for (const std::string& line : continuationLines(i)) text += CR + line;
  return text;
}

std::string CommentParser::lastTagValue(const std::vector<std::string>& lines,
                                        std::string_view tag) {
  std::string result;
  for (const std::string& line : lines) {
    std::string value;
    if (tagValue(line, tag, value)) result = std::move(value);
  }
  return result;
}

std::string CommentParser::getSame() const { return sameOf(comment()); }

std::string CommentParser::sameOf(const std::vector<std::string>& lines) {
  return lastTagValue(lines, "@same");
}

std::string CommentParser::getIncludeSource() const {
  return lastTagValue(comment(), "@includesource");
}

std::string CommentParser::getRemarks() const { return firstTagText("@rem"); }
std::string CommentParser::getReturn() const { return firstTagText("@return"); }
std::string CommentParser::getAuthor() const { return firstTagText("@author"); }

std::string CommentParser::getRevision() const {
  return firstTagText("@revision");
}

std::string CommentParser::getVersion() const {
  return firstTagText("@version");
}

std::string CommentParser::getUser(int n) const {
  if (n < 1 || n > 5) return std::string();
  return firstTagText(userTags_[static_cast<std::size_t>(n - 1)]);
}

}  // namespace scrivlet
