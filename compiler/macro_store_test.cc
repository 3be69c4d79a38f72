#include "compiler/macro_store.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

std::string text(const MacroStore::Slot& slot) {
  return slot.value ? std::get<std::string>(*slot.value) : "(none)";
}

// A handle finds its entry again without a lookup, and never an entry that
// is gone: removing or clearing voids it, and it finds the name anew.
TEST(MacroStore, HandlesFollowTheirEntryAndNeverOutliveIt) {
  MacroStore store;
  MacroStore::Handle handle;
  EXPECT_EQ(text(store.slot("X", handle)), "(none)");
  store.set("x", std::string("1"), handle);
  store.set("Y", std::string("y"));
  EXPECT_EQ(text(store.slot("X", handle)), "1");
  store.set("X", std::string("2"));
  EXPECT_EQ(text(store.slot("X", handle)), "2");

  store.remove("X");
  EXPECT_EQ(text(store.slot("X", handle)), "(none)");
  store.set("X", std::string("3"));
  EXPECT_EQ(text(store.slot("X", handle)), "3");

  store.clear();
  store.set("Y", std::string("after clear"));
  EXPECT_EQ(text(store.slot("X", handle)), "(none)");
  store.set("X", std::string("4"), handle);
  EXPECT_EQ(text(store.slot("x")), "4");

  // A handle of one store means nothing to another.
  MacroStore other;
  other.set("X", std::string("other"));
  EXPECT_EQ(text(other.slot("X", handle)), "other");
  EXPECT_EQ(store.names(), (std::vector<std::string>{"Y", "X"}));
}

}  // namespace
}  // namespace scrivlet
