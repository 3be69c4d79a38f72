// Byte-level masking shared by file names and file contents.
#pragma once

#include <string>
#include <string_view>

namespace tessick {

// Every byte 128-255 becomes '_', every other byte is kept. Names and page
// texts go through this same rule, so a link written inside a page still
// names the file after both are masked.
//   "\xDC" "bersicht.htm"  ->  "_bersicht.htm"
//   "caf\xC3\xA9"          ->  "caf__"   (UTF-8 bytes are masked one by one)
std::string maskNonAscii(std::string_view text);

// The text of a file as it is written back: masked, and with every CR that is
// not already followed by LF given one, while a lone LF stays as it is. This
// is what reading the file with CR LF folded to CR, masking, and writing
// every CR back as CR LF amounts to.
//   "a\r\nb\nc\rd\xE9"  ->  "a\r\nb\nc\r\nd_"
std::string maskFileText(std::string_view text);

// True when maskFileText would return the text unchanged, so the file need
// not be written at all.
bool isMaskedFileText(std::string_view text);

}  // namespace tessick
