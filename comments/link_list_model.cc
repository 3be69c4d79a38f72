#include "comments/link_list_model.h"

#include <algorithm>

#include "base/text.h"

namespace scrivlet {

std::string LinkListModel::entryFor(const std::string& link,
                                    const std::string& label) {
  return label.empty() ? link : link + " [" + label + "]";
}

void LinkListModel::splitEntry(const std::string& entry, std::string& link,
                               std::string& label) {
  std::size_t bracket = entry.find('[');
  if (bracket == std::string::npos) {
    link = trim(entry);
    label.clear();
    return;
  }
  link = trim(entry.substr(0, bracket));
  label = entry.substr(bracket + 1);
  if (!label.empty()) label.pop_back();
}

bool LinkListModel::hasEntryBeginningWith(const std::string& link) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const std::string& e) { return startsWith(e, link); });
}

void LinkListModel::reset(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  linkBox_.clear();
  labelBox_.clear();
  selected_ = -1;
  changes_.notify();
}

void LinkListModel::setLinkText(const std::string& text) {
  if (text == linkBox_) return;
  linkBox_ = text;
  changes_.notify();
}

void LinkListModel::setLabelText(const std::string& text) {
  if (text == labelBox_) return;
  labelBox_ = text;
  changes_.notify();
}

bool LinkListModel::add() {
  if (trim(linkBox_).empty()) return false;
  entries_.push_back(entryFor(linkBox_, labelBox_));
  selectEntry(static_cast<int>(entries_.size()) - 1);
  return true;
}

void LinkListModel::append(const std::string& link, const std::string& label) {
  entries_.push_back(entryFor(link, label));
  changes_.notify();
}

void LinkListModel::selectEntry(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  selected_ = index;
  splitEntry(entries_[static_cast<std::size_t>(index)], linkBox_, labelBox_);
  changes_.notify();
}

void LinkListModel::remove() {
  if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size())) return;
  entries_.erase(entries_.begin() + selected_);
  if (entries_.empty()) {
    selected_ = -1;
    changes_.notify();
    return;
  }
  selectEntry(std::min(selected_, static_cast<int>(entries_.size()) - 1));
}

void LinkListModel::addPicked(const std::string& link) {
  if (link.empty()) return;
  linkBox_ = link;
  labelBox_.clear();
  if (!add()) changes_.notify();
}

}  // namespace scrivlet
