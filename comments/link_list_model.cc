#include "comments/link_list_model.h"

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

bool LinkListModel::add() {
  if (trim(linkBox).empty()) return false;
  entries.push_back(entryFor(linkBox, labelBox));
  click(static_cast<int>(entries.size()) - 1);
  return true;
}

void LinkListModel::click(int index) {
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  selected = index;
  splitEntry(entries[static_cast<std::size_t>(index)], linkBox, labelBox);
}

void LinkListModel::remove() {
  if (!removeEnabled() || selected >= static_cast<int>(entries.size())) return;
  entries.erase(entries.begin() + selected);
  if (entries.empty()) {
    selected = -1;
    return;
  }
  int next = selected < static_cast<int>(entries.size())
                 ? selected
                 : static_cast<int>(entries.size()) - 1;
  click(next);
}

void LinkListModel::addPicked(const std::string& link) {
  if (link.empty()) return;
  linkBox = link;
  labelBox.clear();
  add();
}

}  // namespace scrivlet
