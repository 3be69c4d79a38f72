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
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "compiler/macro_value.h"
#include "source/fold_table.h"

namespace scrivlet {

class MacroStore {
 public:
  // False (and nothing stored) when the name is taken.
  bool add(std::string_view name, MacroValue value);
  // Stores `value`, replacing whatever the name held.
  void set(std::string_view name, MacroValue value);
  bool remove(std::string_view name);
  const MacroValue* find(std::string_view name) const;
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  void clear();
  std::size_t size() const { return entries_.size(); }
  // The names as first written, in storing order.
  std::vector<std::string> names() const;

  // While a Pin lives, a text holding a macro that is replaced or removed
  // is kept alive until the last Pin goes: an evaluation reads the stored
  // text in place, and the text may store over its own macro.
  class Pin {
   public:
    explicit Pin(MacroStore& store) : store_(store) { ++store_.pins_; }
    ~Pin() {
      if (--store_.pins_ == 0) store_.retired_.clear();
    }
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;

   private:
    MacroStore& store_;
  };

 private:
  struct Entry {
    std::string name;
    MacroValue value;
    std::uint64_t order;
  };
  // Looked up from a view without regard to case: a list loop looks names
  // up millions of times.
  FoldedMap<Entry> entries_;
  std::uint64_t nextOrder_ = 0;
  int pins_ = 0;
  // Moved, not copied: a text's characters stay where they are.
  std::vector<MacroValue> retired_;
  void retire(MacroValue& value);
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_STORE_H_
