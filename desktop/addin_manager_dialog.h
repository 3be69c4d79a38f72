// The Add-In Manager: the add-ins found, whether each is loaded and whether
// it loads when the host starts. Changes take effect on OK, as in the
// environment this host stands in for.
#ifndef SCRIVLET_DESKTOP_ADDIN_MANAGER_DIALOG_H_
#define SCRIVLET_DESKTOP_ADDIN_MANAGER_DIALOG_H_

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QTreeWidget>

#include <vector>

#include "desktop/addin_manager.h"

namespace scrivlet {

class AddinManagerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AddinManagerDialog(AddinManager& manager, QWidget* parent = nullptr);

  // Loads and unloads as chosen (loading by the user is connect mode 0)
  // and keeps the start-up choices.
  void apply();

 private:
  struct Choice {
    Addin* addin;
    bool loaded;
    bool onStartup;
  };
  void showCurrent();
  void choose();
  void refreshRow(int row);

  AddinManager& manager_;
  std::vector<Choice> choices_;
  QTreeWidget* list_;
  QLabel* description_;
  QCheckBox* loaded_;
  QCheckBox* onStartup_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_ADDIN_MANAGER_DIALOG_H_
