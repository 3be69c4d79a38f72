#include "base/path_within.h"

#include <algorithm>

namespace scrivlet {

bool isWithinFolder(const std::filesystem::path& path,
                    const std::filesystem::path& folder) {
  auto [end, ignored] =
      std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return end == folder.end();
}

}  // namespace scrivlet
