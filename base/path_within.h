// Whether a path lies in a folder, by its parts: "/doc/api" lies in "/doc",
// "/docs" does not, and the folder lies in itself.
#ifndef SCRIVLET_BASE_PATH_WITHIN_H_
#define SCRIVLET_BASE_PATH_WITHIN_H_

#include <filesystem>

namespace scrivlet {

// Compares the paths as given, part by part, without reading the disk: the
// caller makes both absolute, normal or canonical alike. For example
//   ("/p/doc/a.htm", "/p") -> true
//   ("/p", "/p")           -> true
//   ("/pdoc", "/p")        -> false
//   ("/p", "/p/doc")       -> false
bool isWithinFolder(const std::filesystem::path& path,
                    const std::filesystem::path& folder);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_PATH_WITHIN_H_
