// An insertion-ordered collection looked up by a text key, keys compared
// without regard to case; adding a key that is present fails. This is the
// environment's Collection, which the element model and the settings use.
#ifndef SCRIVLET_SOURCE_KEYED_COLLECTION_H_
#define SCRIVLET_SOURCE_KEYED_COLLECTION_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "source/fold_table.h"
#include "source/text.h"

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
    auto [it, inserted] = index_.try_emplace(std::string(key), entries_.size());
    if (!inserted) return false;
    entries_.push_back(Entry{std::string(key), std::move(item)});
    return true;
  }

  bool contains(std::string_view key) const {
    return index_.find(key) != index_.end();
  }

  // The item under `key`, or nullptr.
  const T* find(std::string_view key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].item;
  }
  T* find(std::string_view key) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].item;
  }

  bool remove(std::string_view key) {
    auto it = index_.find(key);
    if (it == index_.end()) return false;
    std::size_t at = it->second;
    index_.erase(it);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [k, i] : index_)
      if (i > at) --i;
    return true;
  }

  void reserve(std::size_t count) {
    entries_.reserve(count);
    index_.reserve(count);
  }
  void clear() {
    entries_.clear();
    index_.clear();
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
  std::vector<Entry> entries_;
  // Keyed by the key as added; looked up without regard to case, from a
  // view, so that a lookup allocates nothing.
  FoldedMap<std::size_t> index_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_KEYED_COLLECTION_H_
