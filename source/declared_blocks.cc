#include "source/declared_blocks.h"

#include <algorithm>
#include <exception>

#include "base/text.h"
#include "source/quotes.h"

namespace scrivlet {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

// The next word of `text` from `pos`, which moves past it.
std::string_view nextWord(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  std::size_t start = pos;
  while (pos < text.size() && !isSpace(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

std::string_view afterBlanks(std::string_view line) {
  std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view()
                                         : line.substr(first);
}

bool isCommentLine(std::string_view line) {
  return afterBlanks(line).starts_with('\'');
}

bool isOpener(std::string_view line) {
  return afterBlanks(line).starts_with("'**");
}

// A comment line as an element's comment holds it: trimmed, without its
// apostrophe.
std::string commentText(std::string_view line) {
  std::string text = trim(line);
  if (startsWith(text, "'")) text.erase(0, 1);
  return text;
}

// The "'**" block that ends directly above `line` (blank lines between are
// allowed), without its opener; empty when there is none.
std::vector<std::string> commentAbove(const std::vector<std::string>& lines,
                                      long line) {
  long bottom = line - 1;
  while (bottom >= 1 && trim(lines[bottom - 1]).empty()) --bottom;
  long opener = bottom;
  while (opener >= 1 && isCommentLine(lines[opener - 1]) &&
         !isOpener(lines[opener - 1]))
    --opener;
  std::vector<std::string> comment;
  if (opener < 1 || !isOpener(lines[opener - 1])) return comment;
  for (long i = opener + 1; i <= bottom; ++i)
    comment.push_back(commentText(lines[i - 1]));
  return comment;
}

// What follows the apostrophe of a comment at the end of `text`, trimmed.
std::string lineEndComment(std::string_view text) {
  std::size_t apostrophe = findOutsideQuotes(text, "'", 1);
  if (apostrophe == 0) return "";
  return trim(text.substr(apostrophe));
}

// "Public Enum PenColour" -> true, name PenColour, scope Public.
bool readBlockStart(std::string_view code, DeclaredBlock& block) {
  std::size_t pos = 0;
  std::string_view word = nextWord(code, pos);
  block.scope = vbext_Public;
  if (equalsNoCase(word, "Private")) {
    block.scope = vbext_Private;
    word = nextWord(code, pos);
  } else if (equalsNoCase(word, "Public")) {
    word = nextWord(code, pos);
  }
  if (equalsNoCase(word, "Enum"))
    block.isEnum = true;
  else if (equalsNoCase(word, "Type"))
    block.isEnum = false;
  else
    return false;
  block.name = std::string(nextWord(code, pos));
  return !block.name.empty() && afterBlanks(code.substr(pos)).empty();
}

bool isBlockEnd(std::string_view code, bool isEnum) {
  std::size_t pos = 0;
  if (!equalsNoCase(nextWord(code, pos), "End")) return false;
  return equalsNoCase(nextWord(code, pos), isEnum ? "Enum" : "Type");
}

// The type a type character gives a name without an "As" clause.
std::string typeOfCharacter(std::string& name) {
  static const struct {
    char character;
    const char* type;
  } kTypes[] = {{'%', "Integer"}, {'&', "Long"},   {'$', "String"},
                {'@', "Currency"}, {'#', "Double"}, {'!', "Single"}};
  if (!name.empty())
    for (const auto& entry : kTypes)
      if (name.back() == entry.character) {
        name.pop_back();
        return entry.type;
      }
  return "Variant";
}

// "pcRed = &H10" -> pcRed, "&H10"; "Label As String * 20" -> Label,
// "String * 20"; "Points(1 To 4) As Long" -> Points(1 To 4), "Long".
void readItem(std::string_view code, bool isEnum, BlockItem& item) {
  if (isEnum) {
    std::size_t equals = findOutsideQuotes(code, "=", 1);
    item.name = trim(equals ? code.substr(0, equals - 1) : code);
    item.value = equals ? trim(code.substr(equals)) : "";
    return;
  }
  std::string folded = foldCase(code);
  std::size_t as = folded.find(" as ");
  if (as == std::string::npos) as = folded.find("\tas ");
  if (as == std::string::npos) {
    item.name = trim(code);
    item.value = typeOfCharacter(item.name);
    return;
  }
  item.name = trim(code.substr(0, as));
  item.value = trim(code.substr(as + 4));
}

// "a = 1: b = \":\"" -> {"a = 1", "b = \":\""}, each trimmed.
std::vector<std::string> colonParts(std::string_view code) {
  std::vector<std::string> parts;
  std::size_t from = 1;
  for (;;) {
    std::size_t colon = findOutsideQuotes(code, ":", from);
    if (colon == 0) break;
    parts.push_back(trim(code.substr(from - 1, colon - from)));
    from = colon + 1;
  }
  parts.push_back(trim(code.substr(std::min(from - 1, code.size()))));
  return parts;
}

class BlockReader {
 public:
  explicit BlockReader(std::vector<std::string> lines)
      : lines_(std::move(lines)) {}

  std::vector<DeclaredBlock> read() {
    long count = static_cast<long>(lines_.size());
    long continuedAbove = 0;
    for (long first = 1; first <= count;) {
      // A statement continued with " _" runs over several lines.
      long last = first;
      std::string statement = trimmedLine(first);
      while (endsWith(statement, " _") && last < count) {
        statement.pop_back();
        statement += trimmedLine(++last);
      }
      statement_ = std::move(statement);
      readStatement(first, last, first - continuedAbove);
      continuedAbove += last - first;
      first = last + 1;
    }
    if (open_) finish(count);
    return std::move(blocks_);
  }

 private:
  std::string trimmedLine(long line) const {
    return std::string(afterBlanks(lines_[line - 1]));
  }

  // A statement may hold several parts separated by colons ("a: b"); the
  // comments of its line document the first item it declares.
  void readStatement(long first, long last, long logicalLine) {
    std::string code = trim(stripTrailingComment(statement_));
    if (code.empty()) return;
    bool kept = false;
    bool documented = false;
    for (const std::string& part : colonParts(code)) {
      if (!open_) {
        DeclaredBlock block;
        if (!readBlockStart(part, block)) return;
        block.line = first;
        block.logicalLine = logicalLine;
        current_ = std::move(block);
        open_ = true;
      } else if (isBlockEnd(part, current_.isEnum)) {
        if (!kept) keepLines(first, last);
        kept = true;
        finish(last);
        continue;
      } else if (!part.empty() && part[0] != '#') {  // "#If", "#Else"
        documented = addItem(part, first, documented) || documented;
      }
      if (!kept) keepLines(first, last);
      kept = true;
    }
  }

  // False when the item is not added.
  bool addItem(const std::string& code, long line, bool lineDocumented) {
    BlockItem item;
    readItem(code, current_.isEnum, item);
    if (item.name.empty()) return false;
    for (const BlockItem& earlier : current_.items)
      if (equalsNoCase(earlier.name, item.name)) return false;
    item.line = line;
    if (!lineDocumented) {
      item.comment = commentAbove(lines_, line);
      if (item.comment.empty()) {
        std::string atEnd = lineEndComment(statement_);
        if (!atEnd.empty()) item.comment.push_back(std::move(atEnd));
      }
    }
    current_.items.push_back(std::move(item));
    return true;
  }

  void keepLines(long first, long last) {
    for (long line = first; line <= last; ++line)
      current_.declaration.push_back(
          rightTrim(stripTrailingComment(lines_[line - 1])));
  }

  void finish(long endLine) {
    current_.endLine = endLine;
    blocks_.push_back(std::move(current_));
    current_ = DeclaredBlock();
    open_ = false;
  }

  std::vector<std::string> lines_;
  std::string statement_;
  DeclaredBlock current_;
  bool open_ = false;
  std::vector<DeclaredBlock> blocks_;
};

}  // namespace

std::vector<DeclaredBlock> findDeclaredBlocks(const CodeModule& module) {
  try {
    long count = module.CountOfDeclarationLines();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (long line = 1; line <= count; ++line)
      lines.push_back(module.Lines(line, 1));
    return BlockReader(std::move(lines)).read();
  } catch (const std::exception&) {
    return {};
  }
}

const DeclaredBlock* declaredBlockOf(const Element& element) {
  if (!element.isDeclaredBlock()) return nullptr;
  const auto* member = dynamic_cast<const BlockMember*>(element.member.get());
  return member ? &member->block() : nullptr;
}

}  // namespace scrivlet
