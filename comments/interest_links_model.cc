#include "comments/interest_links_model.h"

namespace scrivlet {

InterestLinksModel::InterestLinksModel(std::vector<std::string> candidates)
    : entries_(std::move(candidates)), chosen_(entries_.size(), true) {}

bool InterestLinksModel::isChosen(int index) const {
  return index >= 0 && index < static_cast<int>(chosen_.size()) &&
         chosen_[static_cast<std::size_t>(index)];
}

void InterestLinksModel::setChosen(int index, bool on) {
  if (index < 0 || index >= static_cast<int>(chosen_.size()) ||
      isChosen(index) == on)
    return;
  chosen_[static_cast<std::size_t>(index)] = on;
  changes_.notify();
}

const std::vector<std::string>& InterestLinksModel::addSelected() {
  result_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (chosen_[i]) result_.push_back(entries_[i]);
  return result_;
}

void InterestLinksModel::cancel() { result_.clear(); }

}  // namespace scrivlet
