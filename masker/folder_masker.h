// Masks the names and contents of the files of one folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "masker/command_line.h"

namespace tessick {

// True when the file name matches the pattern "*." + extension: '*' any run
// of characters, '?' any one character, letters compared without regard to
// ASCII case, since the pages come from a system whose names ignore case.
//   ("Index.HTM", "htm") -> true     ("index.html", "htm") -> false
//   ("a.hhc", "h?c")     -> true     ("htm", "htm")        -> false
bool matchesExtension(std::string_view name, std::string_view extension);

// The ordinary files of the folder ("" is the current folder) that match the
// extension, sorted by name. Folders, symbolic links and hidden files (a name
// starting with '.') are left out. Empty when the folder cannot be listed.
std::optional<std::vector<std::string>> listFiles(const std::string& folder,
                                                  std::string_view extension);

// Rewrites the file with maskFileText. A file that cannot be read, is empty,
// is not writable or would not change is left as it is. The new text goes to
// a temporary file beside it, which then replaces it, so a failed write never
// leaves a half-written file. Failures are silent.
void rewriteContents(const std::string& path);

// The names the renames of one run produced, in lower case (a masked name
// is ASCII), each with the name it was made from: "mod_nderung.htm" ->
// "mod\xC4nderung.htm".
using ProducedNames = std::unordered_map<std::string, std::string>;

// Renames folder + name to folder + maskNonAscii(name), replacing a file
// that already has the new name. A file that an earlier rename of the run
// produced (`produced`, in any letter case, as Windows names compare) is not
// replaced: two names that mask alike ("mod\xC4nderung.htm",
// "mod\xD6nderung.htm") would otherwise leave one page of the two. The
// second keeps its name then, and a line saying so is added to `notices`.
// Other failures are silent.
void renameMasked(const std::string& folder, const std::string& name,
                  ProducedNames& produced, std::vector<std::string>& notices);

// Processes every extension of the options in order, each over a fresh
// listing; the files that keep their names are told in `notices`. False
// when a folder listing failed; files processed before the failure stay
// processed.
bool maskFolder(const Options& options, std::vector<std::string>& notices);

}  // namespace tessick
