// The comment editor's "Parameters" tab: the documented parameters in
// declaration order, the one selected, its description box, and the
// settings tables ("@set" lines) of at most three parameters, of which the
// grid shows the selected parameter's.
#ifndef SCRIVLET_COMMENTS_PARAMETER_LIST_MODEL_H_
#define SCRIVLET_COMMENTS_PARAMETER_LIST_MODEL_H_

#include <array>
#include <string>
#include <vector>

#include "base/change_notifier.h"

namespace scrivlet {

struct EditorParam {
  std::string name;
  std::string description;  // text-box text
};

// One row of a parameter's settings table.
struct EditorSetting {
  std::string parameter;
  std::string constant;
  std::string value;
  std::string description;  // text-box text
};
using SettingsGroup = std::vector<EditorSetting>;
using SettingsGroups = std::array<SettingsGroup, 3>;

class ParameterListModel {
 public:
  // The grid's columns.
  enum Column { constantColumn = 0, valueColumn = 1, descriptionColumn = 2 };

  const std::vector<EditorParam>& params() const { return params_; }
  const SettingsGroups& settingsGroups() const { return groups_; }
  // Only procedures have parameters; for other elements the whole tab is
  // disabled.
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // New contents: the first parameter, if any, is selected.
  void reset(std::vector<EditorParam> params, SettingsGroups groups);

  // The "Parameter name" list; -1 selects none.
  int selected() const { return selected_; }
  void selectParameter(int index);
  // The description box of the selected parameter; storing it changes the
  // selected entry.
  const std::string& description() const;
  void setDescription(const std::string& text);

  // The settings grid of the selected parameter. It is enabled only while
  // a table is free or already holds that parameter's rows.
  bool gridEnabled() const;
  std::vector<EditorSetting> gridRows() const;
  void addGridRow();
  void removeGridRow(int row);
  void setGridCell(int row, Column column, const std::string& text);
  // The row the cell editor moves to with Down (+1) or Up (-1): never past
  // the last row, never into the header.
  int gridRowAfterMove(int row, int step) const;

  ChangeNotifier& changes() { return changes_; }

 private:
  int groupOfSelected() const;
  void writeGridBack(std::vector<EditorSetting> rows);

  std::vector<EditorParam> params_;
  SettingsGroups groups_;
  bool enabled_ = false;
  int selected_ = -1;
  ChangeNotifier changes_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_PARAMETER_LIST_MODEL_H_
