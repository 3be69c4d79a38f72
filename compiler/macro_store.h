// The macro store `src`: name -> value, names compared without regard to
// case, entries kept in the order they were stored. Replacing a value moves
// its entry to the end, as removing and adding again does.
//
// Not a KeyedCollection: a list loop stores eight values per item, and
// removing from an ordered vector would make a loop of n items cost n times
// the size of the store.
#ifndef SCRIVLET_COMPILER_MACRO_STORE_H_
#define SCRIVLET_COMPILER_MACRO_STORE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/fold_table.h"
#include "compiler/macro_value.h"

namespace scrivlet {

struct ParsedText;

class MacroStore {
 public:
  // A definition of the template's own, whose text starts on line `line` of
  // the template file: false (and nothing stored) when the name is taken.
  bool add(std::string_view name, MacroValue value, long line = 0);
  // Stores a value the compile worked out, replacing whatever the name held
  // (a definition of the template's too).
  void set(std::string_view name, MacroValue value);
  bool remove(std::string_view name);
  const MacroValue* find(std::string_view name) const;
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  void clear() {
    entries_.clear();
    ++generation_;
  }
  std::size_t size() const { return entries_.size(); }
  // The names as first written, in storing order.
  std::vector<std::string> names() const;

  // A stored value and, beside it, the parsed form of its text, which
  // storing or removing the value drops. Valid until the store changes.
  struct Slot {
    const MacroValue* value = nullptr;
    std::shared_ptr<const ParsedText>* parsed = nullptr;
    // Stored by add(): the template's own text, not a value from the project.
    bool fromTemplate = false;
    // The template file's line where that text starts; 0 when unknown.
    long line = 0;
  };
  Slot slot(std::string_view name);

  // Finds a name's entry again without looking the name up, until an entry
  // is removed: the engine keeps one for each reference it expands and for
  // each item macro a loop stores.
  class Handle {
    friend class MacroStore;
    const MacroStore* store_ = nullptr;
    std::uint64_t generation_ = 0;
    void* entry_ = nullptr;
  };
  Slot slot(std::string_view name, Handle& handle);
  void set(std::string_view name, MacroValue value, Handle& handle);

 private:
  struct Entry {
    std::string name;
    MacroValue value;
    std::uint64_t order;
    std::shared_ptr<const ParsedText> parsed;
    bool fromTemplate = false;
    long line = 0;
  };
  // Looked up from a view without regard to case: a list loop looks names
  // up millions of times.
  FoldedMap<Entry> entries_;
  std::uint64_t nextOrder_ = 0;
  // Changes whenever an entry goes, which voids every Handle.
  std::uint64_t generation_ = 1;
  Entry* entry(const Handle& handle) const;
  void remember(Handle& handle, Entry& entry) const;
  void replace(Entry& entry, std::string_view name, MacroValue value);
  Entry& insert(std::string_view name, MacroValue value, bool fromTemplate);
  static Slot slotOf(Entry& entry) {
    return {&entry.value, &entry.parsed, entry.fromTemplate, entry.line};
  }
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_STORE_H_
