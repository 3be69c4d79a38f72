// The comment parser: any comment lines under each indent mode and any user
// tag names, read through every getter the compiler and the editor use.
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "comments/comment_parser.h"
#include "fuzz/fuzz_input.h"

using namespace scrivlet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::vector<std::string> parts = fuzz::pieces(data, size);
  // Piece 0: the comment, one line per CR or LF. Pieces 1..5: the user tag
  // names. The first byte of the comment picks the indent mode.
  ProjectSettings settings;
  settings.indentMode = static_cast<std::int16_t>(
      fuzz::leadByte(parts[0]) % 4);
  for (std::size_t i = 1; i < parts.size() && i <= 5; ++i)
    settings.userName[i - 1] = parts[i];

  std::vector<std::string> lines;
  std::string line;
  for (char c : parts[0]) {
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(line);

  CommentParser parser(settings);
  parser.setComment(lines);
  (void)parser.getDescription();
  (void)parser.getSeeList();
  (void)parser.getExampleList();
  (void)parser.getParamList();
  (void)parser.getSettingsList();
  (void)parser.getSame();
  (void)parser.getIncludeSource();
  (void)parser.getRemarks();
  (void)parser.getReturn();
  (void)parser.getAuthor();
  (void)parser.getRevision();
  (void)parser.getVersion();
  for (int n = 0; n <= 6; ++n) (void)parser.getUser(n);
  return 0;
}
