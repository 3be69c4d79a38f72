// The "Settings" grid of the comment editor's Parameters tab: the selected
// parameter's settings table, edited in place. A click on a cell puts an
// edit box over it, one box for "Constant Name" and "Value", another for
// "Description":
//   first box:  Enter stores, Escape drops the typing, Down/Up store and
//               move to the next/previous row (never past the last row);
//   second box: Escape drops the typing, Enter stores.
// Leaving a box stores its text.
#ifndef SCRIVLET_ADDIN_WINDOWS_SETTINGS_GRID_H_
#define SCRIVLET_ADDIN_WINDOWS_SETTINGS_GRID_H_

#include <QTableWidget>

#include "comments/parameter_list_model.h"

class QLineEdit;

namespace scrivlet {

class SettingsGrid : public QTableWidget {
  Q_OBJECT

 public:
  // The model must outlive the grid; `codePage` is that of its texts.
  SettingsGrid(ParameterListModel& model, int codePage,
               QWidget* parent = nullptr);

  // Puts the edit box of `column` over the cell (the click does this).
  void editCell(int row, int column);
  // The box over the cell being edited, or null when none shows.
  QLineEdit* visibleEditor() const;
  int editedRow() const { return row_; }
  // Stores a visible box's text, then hides it.
  void storeEditor();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit* makeEditor(const QString& name);
  QLineEdit* editorFor(int column) const;
  void hideEditor();
  void refresh();
  void placeEditor();

  ParameterListModel& model_;
  int codePage_;
  QLineEdit* cellEditor_;
  QLineEdit* descriptionEditor_;
  int row_ = -1;
  int column_ = -1;
  ChangeNotifier::Subscription following_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_SETTINGS_GRID_H_
