#include "comments/comment_editor_options.h"

#include <cstdlib>

#include "base/text.h"

namespace scrivlet {

namespace {

// The number a text begins with, as the runtime's Val reads it: leading
// blanks skipped, an optional sign, then digits; anything else is 0.
long leadingNumber(const std::string& text) {
  std::string t = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  long value = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    value = value * 10 + (t[i] - '0');
    if (value > 100000) break;  // far past the limit already
  }
  return negative ? -value : value;
}

}  // namespace

CommentEditorOptions::CommentEditorOptions(const ProjectSettings& settings)
    : wordWrap(settings.wordWrapLength >= 0),
      lengthText(std::to_string(limitLength(std::labs(settings.wordWrapLength)))),
      showEOLAsNewLine(settings.autoInsertEOL == 1) {}

int CommentEditorOptions::limitLength(long length) {
  if (length < minLength) return minLength;
  if (length > maxLength) return maxLength;
  return static_cast<int>(length);
}

void CommentEditorOptions::leaveLengthBox() {
  lengthText = std::to_string(limitLength(leadingNumber(lengthText)));
}

void CommentEditorOptions::ok(ProjectSettings& settings) {
  leaveLengthBox();
  auto length = static_cast<std::int16_t>(limitLength(leadingNumber(lengthText)));
  settings.wordWrapLength = wordWrap ? length : static_cast<std::int16_t>(-length);
  settings.autoInsertEOL = showEOLAsNewLine ? 1 : 0;
}

}  // namespace scrivlet
