// The text of a module file as the code window shows it, with the lines the
// window hides kept beside it so that saving writes them back where they
// were.
//
// A file is read as:
//   header      VERSION, Object = ..., the designer block Begin ... End (any
//               nesting, BeginProperty ... EndProperty included), the class
//               block BEGIN ... END and the module's "Attribute VB_..." lines;
//   body lines  the visible lines, numbered from 1;
//   hidden      "Attribute Name.VB_... = ..." lines directly under the
//               statement that declares a member, kept with the body line
//               they follow.
// Every line keeps its own line end, so an unchanged file is written back
// byte for byte, whatever its line ends and whether or not it ends with one.
#ifndef SCRIVLET_PLATFORM_DISK_MODULE_TEXT_H_
#define SCRIVLET_PLATFORM_DISK_MODULE_TEXT_H_

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disk_module_parser.h"

namespace scrivlet {

struct DiskRawLine {
  std::string text;
  std::string eol;  // "\r\n", "\n", "\r", or empty for a last line without
};

// A visible line: views into the file as read, or into the texts of lines
// inserted since, both kept by the DiskModuleText for as long as it lives.
struct DiskBodyLine {
  std::string_view text;
  std::string_view eol;
  std::vector<DiskRawLine> hidden;  // attribute lines that follow this line
};

class DiskModuleText {
 public:
  DiskModuleText() = default;
  explicit DiskModuleText(std::string_view bytes);
  // The lines view texts this object keeps: moving keeps them, a copy
  // would view another's.
  DiskModuleText(DiskModuleText&&) = default;
  DiskModuleText& operator=(DiskModuleText&&) = default;
  DiskModuleText(const DiskModuleText&) = delete;
  DiskModuleText& operator=(const DiskModuleText&) = delete;

  std::string toBytes() const;

  long lineCount() const { return static_cast<long>(lines_.size()); }
  // Visible line `n`, 1-based; the caller checks the range.
  std::string_view line(long n) const { return lines_[n - 1].text; }
  // The hidden lines under visible line `n`.
  std::vector<DiskRawLine>& hiddenAfter(long n) { return lines_[n - 1].hidden; }
  const std::vector<DiskRawLine>& hiddenAfter(long n) const {
    return lines_[n - 1].hidden;
  }

  // Inserts `lines` before visible line `before` (lineCount() + 1 appends).
  void insertLines(long before, const std::vector<std::string>& lines);
  // Removes visible lines; the hidden lines under them are kept aside in
  // `detachedAttributes()` so that a member whose declaration is rewritten
  // gets them back.
  void deleteLines(long start, long count);
  std::vector<DiskRawLine>& detachedAttributes() { return detached_; }

  // The first designer line ("Begin VB.MDIForm MDIForm1"), empty when none.
  std::string designerLine() const;
  // The value written after "Attribute VB_<name> = " in the header, empty
  // when absent.
  std::string headerAttribute(std::string_view name) const;
  // Sets (or, with an empty value, removes) a header attribute line.
  void setHeaderAttribute(std::string_view name, const std::string& value);

  // The layout of the visible lines. The first call after reading takes
  // the layout that reading worked out already.
  DiskModuleLayout parse();

  // The visible line that line `fileLine` of the file (1-based, counted as
  // an editor counts them) shows; 0 when that line is hidden, with `inHeader`
  // telling a header line from a member's attribute line, and -1 past the
  // end of the file.
  long visibleLineAt(long fileLine, bool& inHeader) const;
  // The reverse: the line of the file that shows as visible line
  // `visibleLine`, hidden header and attribute lines counted.
  long fileLineOf(long visibleLine) const;

  // The line end new lines get: the file's first one, CR LF when none.
  const std::string& lineEnd() const { return lineEnd_; }

 private:
  // The file as read, one block (the body lines view it), and the texts of
  // inserted lines (a deque: adding one moves none of the others).
  std::unique_ptr<const char[]> source_;
  std::deque<std::string> inserted_;
  std::vector<DiskRawLine> header_;
  std::vector<DiskBodyLine> lines_;
  std::vector<DiskRawLine> detached_;
  std::string lineEnd_ = "\r\n";
  // A UTF-8 byte-order mark before the first line, written back as found.
  bool byteOrderMark_ = false;
  DiskModuleLayout readLayout_;
  bool haveReadLayout_ = false;
};

// Attribute values: "Attribute X.VB_Description = \"Say \"\"hi\"\"\"".
// `attributeValue` gives the text after " = " of a line naming `target`
// (empty for a module attribute) and `attribute`; false when the line is
// another one.
bool attributeValue(std::string_view line, std::string_view target,
                    std::string_view attribute, std::string& value);
// "\"Say \"\"hi\"\"\"" -> "Say \"hi\""; a value without quotes stays as is.
std::string unquoteAttribute(std::string_view value);
// The reverse; each line break (CR LF, CR or LF) becomes one space, since an
// attribute line cannot hold one.
std::string quoteAttribute(std::string_view text);

// The lines of a file with their own line ends; a last line without one
// has an empty `eol`, and a final line end makes no extra empty line.
std::vector<DiskRawLine> splitRawLines(std::string_view bytes);
// The same, line by line: `take(text, eol)` with views into `bytes`.
template <typename Take>
void forEachRawLine(std::string_view bytes, Take&& take) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    std::size_t eolLength =
        (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    take(bytes.substr(from, i - from), bytes.substr(i, eolLength));
    i += eolLength - 1;
    from = i + 1;
  }
  if (from < bytes.size()) take(bytes.substr(from), std::string_view());
}

// Splits text at CR LF, CR or LF: "a\r\nb\nc" -> {"a", "b", "c"}.
std::vector<std::string> splitAnyLineBreak(std::string_view text);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_MODULE_TEXT_H_
