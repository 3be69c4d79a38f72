// Masks the names and contents of the files of one folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

// Renames folder + name to folder + maskNonAscii(name), replacing a file
// that already has the new name. Failures are silent.
void renameMasked(const std::string& folder, const std::string& name);

// Processes every extension of the options in order, each over a fresh
// listing. False when a folder listing failed; files processed before the
// failure stay processed.
bool maskFolder(const Options& options);

}  // namespace tessick
