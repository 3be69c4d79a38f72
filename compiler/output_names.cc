#include "compiler/output_names.h"

#include <cstdint>

#include "source/text.h"

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

std::string OutputNames::claim(const std::string& folder,
                               std::string_view stem, std::string_view ext,
                               Progress& progress) {
  return claimAs(folder, stem, ext, false, progress);
}

std::string OutputNames::claimShared(const std::string& folder,
                                     std::string_view stem,
                                     std::string_view ext,
                                     Progress& progress) {
  return claimAs(folder, stem, ext, true, progress);
}

std::string OutputNames::claimAs(const std::string& folder,
                                 std::string_view stem, std::string_view ext,
                                 bool shared, Progress& progress) {
  std::string wanted(stem);
  wanted += ext;
  if (wanted.empty()) return wanted;
  std::string base = fittingStem(stem, ext);
  std::string name = base + std::string(ext);
  if (name != wanted)
    progress.reportMessage("WARNING: \"" + wanted +
                           "\" is too long for a file name; the page is "
                           "written as \"" + name + "\".");
  // "/doc/" and "/doc" are one folder.
  std::string_view folderName = folder;
  while (folderName.size() > 1 && folderName.back() == '/')
    folderName.remove_suffix(1);
  auto& claimed = folders_[foldCase(folderName)];
  auto [found, added] = claimed.try_emplace(foldCase(name));
  if (added) {
    found->second.name = name;
    found->second.shared = shared;
    return name;
  }
  if (shared && found->second.shared) return name;
  const std::string earlier = found->second.name;
  for (unsigned number = found->second.nextNumber;; ++number) {
    std::string numbered = base + "-" + std::to_string(number) + std::string(ext);
    auto [slot, free] = claimed.try_emplace(foldCase(numbered));
    if (!free) continue;
    claimed[foldCase(name)].nextNumber = number + 1;
    slot->second = {numbered, shared};
    progress.reportMessage(
        "WARNING: \"" + name + "\" is the name of a page written before (\"" +
        earlier + "\", letter case aside); this page is written as \"" +
        numbered + "\".");
    return numbered;
  }
}

}  // namespace scrivlet
