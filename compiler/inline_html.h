// Simple markup in comments written for help files ("<b>", "<p>", "<br>",
// "<code>", ...) let through into the pages as markup, while everything
// else goes through the replace table as before. A template asks for it
// with a one-line setting naming the tags:
//
//   $INLINE-HTML$ b i em strong code tt pre p br ul ol li sub sup
//
//   "Use <b>x</b> & <i onclick=y>z" -> "Use <b>x</b> &amp; &lt;i onclick=y&gt;z"
//   "<p>One<p>Two"                  -> "<p>One</p><p>Two</p>"
//
// Only a listed tag's opening and closing forms without attributes count
// ("<br/>" and "<br />" too); a closing tag that closes nothing open stays
// text. Tags a value leaves open are closed at its end, so that a comment
// cannot break the page around it.
#ifndef SCRIVLET_COMPILER_INLINE_HTML_H_
#define SCRIVLET_COMPILER_INLINE_HTML_H_

#include <string>
#include <string_view>
#include <vector>

#include "compiler/replace_table.h"

namespace scrivlet {

class InlineHtml {
 public:
  InlineHtml() = default;
  // Tag names separated by blanks, in any case.
  explicit InlineHtml(std::string_view tagList);

  bool empty() const { return tags_.empty(); }

  // Appends `text` to `out`: listed tags as markup (in lower case), the
  // text around them through `table`. `open` holds the tags opened so far
  // in the value, innermost last.
  void apply(std::string_view text, const ReplaceTable& table,
             std::vector<std::string>& open, std::string& out) const;
  // Closes the tags still open, innermost first.
  static void close(std::vector<std::string>& open, std::string& out);

 private:
  // The listed tag at `at` ("<b>", "</b>", "<br />"): its lower-case name,
  // whether it closes, and its length; false when there is none.
  bool tagAt(std::string_view text, std::size_t at, std::string& name,
             bool& closing, std::size_t& length) const;

  std::vector<std::string> tags_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_INLINE_HTML_H_
