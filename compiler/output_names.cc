#include "compiler/output_names.h"

#include <cstdint>

#include "base/text.h"

namespace scrivlet {

namespace {

// Room left in every name for the "-N" a later page of the same name gets.
constexpr std::size_t kSuffixRoom = 8;
constexpr std::size_t kHashDigits = 12;

std::uint64_t fnv1a(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string hexDigits(std::uint64_t value, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string digits(count, '0');
  for (std::size_t i = count; i-- > 0; value >>= 4)
    digits[i] = kDigits[value & 15];
  return digits;
}

}  // namespace

std::string fittingStem(std::string_view stem, std::string_view ext) {
  if (stem.size() + ext.size() + kSuffixRoom <= kMaxFileNameBytes)
    return std::string(stem);
  const std::size_t hashPart = 1 + kHashDigits;
  const std::size_t fixed = ext.size() + kSuffixRoom + hashPart;
  // An extension that alone fills the name leaves nothing to shorten; the
  // write reports the name then.
  std::size_t keep = fixed < kMaxFileNameBytes ? kMaxFileNameBytes - fixed : 1;
  std::string shortened(stem.substr(0, keep));
  shortened += '~';
  shortened += hexDigits(fnv1a(stem), kHashDigits);
  return shortened;
}

OutputNames::Folder& OutputNames::folder(const std::string& path) {
  // "/doc/" and "/doc" are one folder.
  std::string_view name = path;
  while (name.size() > 1 && name.back() == '/') name.remove_suffix(1);
  return folders_[foldCase(name)];
}

void OutputNames::reserve(const std::string& path, std::string_view stem,
                          std::string_view ext, const std::string& project) {
  std::string name = fittingStem(stem, ext) + std::string(ext);
  auto [found, added] = folder(path).try_emplace(foldCase(name));
  if (!added) return;
  found->second.name = std::move(name);
  found->second.use = Use::projectFile;
  found->second.reservedFor = project;
}

std::string OutputNames::claim(const std::string& path, std::string_view stem,
                               std::string_view ext, Progress& progress,
                               Use use) {
  std::string wanted(stem);
  wanted += ext;
  if (wanted.empty()) return wanted;
  std::string base = fittingStem(stem, ext);
  std::string name = base + std::string(ext);
  if (name != wanted)
    progress.reportMessage("WARNING: \"" + wanted +
                           "\" is too long for a file name; the page is "
                           "written as \"" + name + "\".");
  Folder& claimed = folder(path);
  auto [found, added] = claimed.try_emplace(foldCase(name));
  Claimed& first = found->second;
  if (added) {
    first.name = name;
    first.use = use;
    return name;
  }
  if (use == Use::shared && first.use == Use::shared) return name;
  if (use == Use::projectFile && !first.reservedFor.empty()) {
    first.reservedFor.clear();
    return name;
  }
  const std::string why =
      first.reservedFor.empty()
          ? "is the name of a page written before (\"" + first.name +
                "\", letter case aside)"
          : "is kept for the files of the project " + first.reservedFor +
                " (\"" + first.name + "\", letter case aside)";
  for (unsigned number = first.nextNumber;; ++number) {
    std::string numbered = base + "-" + std::to_string(number) + std::string(ext);
    auto [slot, free] = claimed.try_emplace(foldCase(numbered));
    if (!free) continue;
    claimed[foldCase(name)].nextNumber = number + 1;
    slot->second.name = numbered;
    slot->second.use = use;
    progress.reportMessage("WARNING: \"" + name + "\" " + why +
                           "; this page is written as \"" + numbered + "\".");
    return numbered;
  }
}

}  // namespace scrivlet
