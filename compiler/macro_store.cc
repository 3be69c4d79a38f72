#include "compiler/macro_store.h"

#include <algorithm>

#include "base/text.h"

namespace scrivlet {

bool MacroStore::add(std::string_view name, MacroValue value, long line) {
  if (entries_.find(name) != entries_.end()) return false;
  insert(name, std::move(value), true).line = line;
  return true;
}

MacroStore::Entry& MacroStore::insert(std::string_view name, MacroValue value,
                                      bool fromTemplate) {
  auto [it, inserted] = entries_.try_emplace(
      std::string(name), Entry{std::string(name), std::move(value),
                               nextOrder_, nullptr, fromTemplate});
  ++nextOrder_;
  return it->second;
}

void MacroStore::set(std::string_view name, MacroValue value) {
  auto it = entries_.find(name);
  if (it == entries_.end())
    insert(name, std::move(value), false);
  else
    replace(it->second, name, std::move(value));
}

void MacroStore::replace(Entry& entry, std::string_view name,
                         MacroValue value) {
  if (entry.name != name) entry.name.assign(name);
  entry.value = std::move(value);
  entry.parsed.reset();
  entry.order = nextOrder_++;
  entry.fromTemplate = false;
  entry.line = 0;
}

MacroStore::Entry* MacroStore::entry(const Handle& handle) const {
  return handle.store_ == this && handle.generation_ == generation_
             ? static_cast<Entry*>(handle.entry_)
             : nullptr;
}

void MacroStore::remember(Handle& handle, Entry& entry) const {
  handle.store_ = this;
  handle.generation_ = generation_;
  handle.entry_ = &entry;
}

void MacroStore::set(std::string_view name, MacroValue value,
                     Handle& handle) {
  if (Entry* known = entry(handle)) {
    replace(*known, name, std::move(value));
    return;
  }
  auto it = entries_.find(name);
  if (it == entries_.end()) {
    remember(handle, insert(name, std::move(value), false));
    return;
  }
  replace(it->second, name, std::move(value));
  remember(handle, it->second);
}

MacroStore::Slot MacroStore::slot(std::string_view name, Handle& handle) {
  if (Entry* known = entry(handle)) return slotOf(*known);
  auto it = entries_.find(name);
  if (it == entries_.end()) return {};
  remember(handle, it->second);
  return slotOf(it->second);
}

bool MacroStore::remove(std::string_view name) {
  auto it = entries_.find(name);
  if (it == entries_.end()) return false;
  entries_.erase(it);
  ++generation_;
  return true;
}

MacroStore::Slot MacroStore::slot(std::string_view name) {
  Handle once;
  return slot(name, once);
}

const MacroValue* MacroStore::find(std::string_view name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : &it->second.value;
}

std::vector<std::string> MacroStore::names() const {
  std::vector<const Entry*> ordered;
  ordered.reserve(entries_.size());
  for (const auto& [key, entry] : entries_) ordered.push_back(&entry);
  std::sort(ordered.begin(), ordered.end(),
            [](const Entry* a, const Entry* b) { return a->order < b->order; });
  std::vector<std::string> out;
  out.reserve(ordered.size());
  for (const Entry* e : ordered) out.push_back(e->name);
  return out;
}

}  // namespace scrivlet
