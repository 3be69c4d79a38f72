#include "compiler/macro_store.h"

#include <algorithm>

#include "source/text.h"

namespace scrivlet {

bool MacroStore::add(std::string_view name, MacroValue value) {
  auto [it, inserted] = entries_.try_emplace(
      std::string(name),
      Entry{std::string(name), std::move(value), nextOrder_, nullptr});
  if (inserted) ++nextOrder_;
  return inserted;
}

void MacroStore::set(std::string_view name, MacroValue value) {
  auto it = entries_.find(name);
  if (it == entries_.end())
    add(name, std::move(value));
  else
    replace(it->second, name, std::move(value));
}

void MacroStore::replace(Entry& entry, std::string_view name,
                         MacroValue value) {
  if (entry.name != name) entry.name.assign(name);
  entry.value = std::move(value);
  entry.parsed.reset();
  entry.order = nextOrder_++;
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
  set(name, std::move(value));
  remember(handle, entries_.find(name)->second);
}

MacroStore::Slot MacroStore::slot(std::string_view name, Handle& handle) {
  if (Entry* known = entry(handle)) return {&known->value, &known->parsed};
  auto it = entries_.find(name);
  if (it == entries_.end()) return {};
  remember(handle, it->second);
  return {&it->second.value, &it->second.parsed};
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
