#include "comments/parameter_list_model.h"

#include <algorithm>

namespace scrivlet {

void ParameterListModel::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changes_.notify();
}

void ParameterListModel::reset(std::vector<EditorParam> params,
                               SettingsGroups groups) {
  params_ = std::move(params);
  groups_ = std::move(groups);
  selected_ = params_.empty() ? -1 : 0;
  changes_.notify();
}

void ParameterListModel::selectParameter(int index) {
  selected_ = index >= 0 && index < static_cast<int>(params_.size()) ? index : -1;
  changes_.notify();
}

const std::string& ParameterListModel::description() const {
  static const std::string none;
  if (selected_ < 0) return none;
  return params_[static_cast<std::size_t>(selected_)].description;
}

void ParameterListModel::setDescription(const std::string& text) {
  if (selected_ < 0 || description() == text) return;
  params_[static_cast<std::size_t>(selected_)].description = text;
  changes_.notify();
}

int ParameterListModel::groupOfSelected() const {
  if (selected_ < 0) return -1;
  const std::string& name = params_[static_cast<std::size_t>(selected_)].name;
  for (std::size_t g = 0; g < groups_.size(); ++g)
    if (!groups_[g].empty() && groups_[g].front().parameter == name)
      return static_cast<int>(g);
  return -1;
}

bool ParameterListModel::gridEnabled() const {
  if (selected_ < 0 || !enabled_) return false;
  if (groupOfSelected() >= 0) return true;
  return std::any_of(groups_.begin(), groups_.end(),
                     [](const SettingsGroup& g) { return g.empty(); });
}

std::vector<EditorSetting> ParameterListModel::gridRows() const {
  int g = groupOfSelected();
  if (g < 0) return {};
  return groups_[static_cast<std::size_t>(g)];
}

void ParameterListModel::writeGridBack(std::vector<EditorSetting> rows) {
  if (!gridEnabled()) return;
  int g = groupOfSelected();
  for (std::size_t i = 0; i < groups_.size() && g < 0; ++i)
    if (groups_[i].empty()) g = static_cast<int>(i);
  const std::string& name = params_[static_cast<std::size_t>(selected_)].name;
  for (EditorSetting& row : rows) row.parameter = name;
  groups_[static_cast<std::size_t>(g)] = std::move(rows);
  changes_.notify();
}

void ParameterListModel::addGridRow() {
  std::vector<EditorSetting> rows = gridRows();
  rows.emplace_back();
  writeGridBack(std::move(rows));
}

void ParameterListModel::removeGridRow(int row) {
  std::vector<EditorSetting> rows = gridRows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  rows.erase(rows.begin() + row);
  writeGridBack(std::move(rows));
}

void ParameterListModel::setGridCell(int row, Column column,
                                     const std::string& text) {
  std::vector<EditorSetting> rows = gridRows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  EditorSetting& cell = rows[static_cast<std::size_t>(row)];
  switch (column) {
    case constantColumn:
      cell.constant = text;
      break;
    case valueColumn:
      cell.value = text;
      break;
    case descriptionColumn:
      cell.description = text;
      break;
  }
  writeGridBack(std::move(rows));
}

int ParameterListModel::gridRowAfterMove(int row, int step) const {
  int last = static_cast<int>(gridRows().size()) - 1;
  return std::clamp(row + step, 0, std::max(last, 0));
}

}  // namespace scrivlet
