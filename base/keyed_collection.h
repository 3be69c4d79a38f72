// An insertion-ordered collection looked up by a text key, keys compared
// without regard to case; adding a key that is present fails. This is the
// environment's Collection, which the element model and the settings use.
#ifndef SCRIVLET_BASE_KEYED_COLLECTION_H_
#define SCRIVLET_BASE_KEYED_COLLECTION_H_

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/fold_table.h"
#include "base/text.h"

namespace scrivlet {

template <typename T>
class KeyedCollection {
 public:
  struct Entry {
    std::string key;
    T item;
  };

  // False (and nothing added) when the key is present already.
  bool add(std::string_view key, T item) {
    std::size_t hash = FoldedHash{}(key);
    if (position(key, hash) != kNone) return false;
    if ((entries_.size() + 1) * 2 > slots_.size())
      rebuild(std::max<std::size_t>(16, slots_.size() * 2));
    entries_.push_back(Entry{std::string(key), std::move(item)});
    hashes_.push_back(hash);
    place(entries_.size() - 1);
    return true;
  }

  bool contains(std::string_view key) const {
    return position(key, FoldedHash{}(key)) != kNone;
  }

  // The item under `key`, or nullptr.
  const T* find(std::string_view key) const {
    std::size_t at = position(key, FoldedHash{}(key));
    return at == kNone ? nullptr : &entries_[at].item;
  }
  T* find(std::string_view key) {
    std::size_t at = position(key, FoldedHash{}(key));
    return at == kNone ? nullptr : &entries_[at].item;
  }

  // Rare, and as slow as the environment's: the positions after it move.
  bool remove(std::string_view key) {
    std::size_t at = position(key, FoldedHash{}(key));
    if (at == kNone) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    hashes_.erase(hashes_.begin() + static_cast<std::ptrdiff_t>(at));
    rebuild(slots_.size());
    return true;
  }

  void reserve(std::size_t count) {
    entries_.reserve(count);
    hashes_.reserve(count);
    if (count * 2 > slots_.size()) rebuild(std::bit_ceil(count * 2));
  }
  void clear() {
    entries_.clear();
    hashes_.clear();
    slots_.clear();
  }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // 0-based position in insertion order.
  const T& operator[](std::size_t i) const { return entries_[i].item; }
  T& operator[](std::size_t i) { return entries_[i].item; }
  const std::string& keyAt(std::size_t i) const { return entries_[i].key; }

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }
  auto begin() { return entries_.begin(); }
  auto end() { return entries_.end(); }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The index: open addressing over a power of two of slots, at most half
  // of them taken. A slot holds the position of an entry plus one (0 for a
  // free slot) in its low half and the top half of the entry's hash in its
  // high half, so that a lookup reads one run of slots and touches a key
  // only where the hashes agree: on a large model every key is a cache
  // miss away.
  static std::uint64_t slotOf(std::size_t at, std::size_t hash) {
    return (static_cast<std::uint64_t>(hash) & kHashHalf) | (at + 1);
  }
  std::size_t position(std::string_view key, std::size_t hash) const {
    if (slots_.empty()) return kNone;
    std::size_t mask = slots_.size() - 1;
    std::uint64_t half = static_cast<std::uint64_t>(hash) & kHashHalf;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      std::uint64_t slot = slots_[i];
      if (slot == 0) return kNone;
      if ((slot & kHashHalf) == half) {
        std::size_t at = static_cast<std::size_t>(slot & ~kHashHalf) - 1;
        if (FoldedEqual{}(entries_[at].key, key)) return at;
      }
    }
  }
  void place(std::size_t at) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = hashes_[at] & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = slotOf(at, hashes_[at]);
  }
  void rebuild(std::size_t slotCount) {
    slots_.assign(slotCount, 0);
    for (std::size_t at = 0; at < entries_.size(); ++at) place(at);
  }

  static constexpr std::uint64_t kHashHalf = 0xFFFFFFFF00000000u;

  std::vector<Entry> entries_;
  // Each entry's key hashed without regard to case, for rebuilding.
  std::vector<std::size_t> hashes_;
  std::vector<std::uint64_t> slots_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_KEYED_COLLECTION_H_
