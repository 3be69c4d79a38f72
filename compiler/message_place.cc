#include "compiler/message_place.h"

#include <filesystem>

#include "base/path_within.h"
#include "base/vbide.h"

namespace scrivlet {

std::string shownPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path current = fs::current_path(ec);
  if (ec || path.empty() || path[0] != '/') return path;
  const fs::path full(path);
  if (!isWithinFolder(full, current)) return path;
  return full.lexically_relative(current).string();
}

MessagePlace placeOf(const Element& element) {
  MessagePlace place;
  try {
    const CodeModule* module = element.cmo;
    if (!module || !module->Parent()) return place;
    place.file = shownPath(module->Parent()->FileName());
    if (place.file.empty()) return place;
    place.line = module->fileLine(element.CodeLocation());
  } catch (const std::exception&) {
    return {};
  }
  return place;
}

}  // namespace scrivlet
