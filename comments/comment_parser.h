// Reads the values of one documentation comment: the description above the
// first tag and the values of "@param", "@set", "@see", "@rem", "@return"
// and the other tags, in the text forms that the documentation compiler
// prints and the comment editor shows.
//
// The comment arrives as its lines without the leading apostrophe: the
// source block
//     '**
//     ' Adds two numbers.
//     '@param a The first.
//     '@return The sum.
// is {" Adds two numbers.", "@param a The first.", "@return The sum."}.
//
// A tag line is a line that, trimmed of spaces, begins with the tag. The test
// is case-sensitive and wants no separator after the tag, so "@returns x" is
// an "@return" line whose value is "s x", "@remark" is an "@rem" line and
// "@Param" is no tag at all. Values spread over several lines are joined
// with CR; "$EOL$", "$CODE$" and "$END-CODE$" are passed through untouched
// for the template to render.
#ifndef SCRIVLET_COMMENTS_COMMENT_PARSER_H_
#define SCRIVLET_COMMENTS_COMMENT_PARSER_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/project_settings.h"

namespace scrivlet {

class CommentParser {
 public:
  // The parser reads `settings` live: the user tag names when a comment is
  // assigned, `indentMode` on every read. The record must outlive the parser.
  explicit CommentParser(const ProjectSettings& settings);

  // Assigning a comment also takes the five user tags from the settings as
  // they are now, so a renamed tag counts from the next assignment on.
  void setComment(std::vector<std::string> lines);
  // The same, reading `lines` where they are: they must stay as they are
  // while the parser reads them, until the next comment is assigned.
  void readComment(const std::vector<std::string>& lines);
  const std::vector<std::string>& comment() const { return *read_; }

  // Points into itself: not to be copied.
  CommentParser(const CommentParser&) = delete;
  CommentParser& operator=(const CommentParser&) = delete;

  // The lines before the first tag line, each followed by CR (the last one
  // too); "" when the comment is empty or opens with a tag.
  std::string getDescription() const;

  // One entry per "@see" line with a value: "link\rdescription" or "link\r".
  std::vector<std::string> getSeeList() const;
  // As getSeeList, for "@example".
  std::vector<std::string> getExampleList() const;

  // One entry per "@param" line: "name\rdescription\r" (or "name\r"), then
  // every continuation line followed by CR.
  std::vector<std::string> getParamList() const;

  // Always three groups of "@set" entries, one group per parameter name in
  // order of first appearance; a fourth name's entries are dropped. An entry
  // is "param\rconstant\rvalue\rdescription\r" plus continuation lines each
  // followed by CR. The value may be a quoted string holding blanks:
  //   @set Align vbLeft "a b" Left.  ->  "Align\rvbLeft\r\"a b\"\rLeft.\r"
  // Missing words leave their parts empty, and a last word with nothing
  // after it is not kept: "@set A B" gives "A\r\r\r", "@set A B C" gives
  // "A\rB\r\r".
  std::array<std::vector<std::string>, 3> getSettingsList() const;

  // The value of the last "@same" line, trimmed; "".
  std::string getSame() const;
  // The same of `lines`, without a parser (nor a copy of them).
  static std::string sameOf(const std::vector<std::string>& lines);
  // The value of the last "@includesource" line, trimmed; "".
  std::string getIncludeSource() const;

  // The value of the first line of the tag, trimmed, then CR and each
  // continuation line (no CR at the end); "" when the tag is absent.
  std::string getRemarks() const;
  std::string getReturn() const;
  std::string getAuthor() const;
  std::string getRevision() const;
  std::string getVersion() const;
  // User tag `n`, 1 to 5 ("@" + user1Name ... user5Name); "" for other n.
  std::string getUser(int n) const;
  std::string getUser1() const { return getUser(1); }
  std::string getUser2() const { return getUser(2); }
  std::string getUser3() const { return getUser(3); }
  std::string getUser4() const { return getUser(4); }
  std::string getUser5() const { return getUser(5); }

  // Whether a trimmed line opens with a tag, built in or the user's.
  bool isTagLine(std::string_view trimmed) const;

 private:
  // Line `i` without its leading and trailing spaces.
  std::string_view trimmed(std::size_t i) const;
  // The value of line `i` when it is a `tag` line.
  bool tagValueOf(std::size_t i, std::string_view tag,
                  std::string& value) const;
  // How a continuation line, and the first line of the description, enter
  // a value under the current indent mode.
  std::string continuationText(const std::string& line) const;
  std::string firstLineText(const std::string& line) const;

  // The continuation lines from `i` up to the next tag line, normalised;
  // `i` ends on that tag line, or past the end.
  std::vector<std::string> continuationLines(std::size_t& i) const;
  std::vector<std::string> linkList(std::string_view tag) const;
  std::string firstTagText(std::string_view tag) const;
  static std::string lastTagValue(const std::vector<std::string>& lines,
                                  std::string_view tag);

  const ProjectSettings& settings_;
  // The comment read: `owned_`, or lines of the caller's.
  std::vector<std::string> owned_;
  const std::vector<std::string>* read_ = &owned_;
  // Each line of the comment read once when it is assigned: where its text
  // lies within its spaces, and whether it is a tag line.
  struct Line {
    std::size_t start;
    std::size_t size;
    bool tag;
  };
  std::vector<Line> lines_;
  std::array<std::string, 5> userTags_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_PARSER_H_
