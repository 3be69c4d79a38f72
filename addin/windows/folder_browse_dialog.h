// "Browse For Folder": a folder tree under two prompt lines. The caller
// sets the prompts, the root and the preselected folder on model(), runs
// Browse() and reads model().SelectedFolder.
#ifndef SCRIVLET_ADDIN_WINDOWS_FOLDER_BROWSE_DIALOG_H_
#define SCRIVLET_ADDIN_WINDOWS_FOLDER_BROWSE_DIALOG_H_

#include <QDialog>
#include <QPointer>

#include "addin/folder_browse_model.h"

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace scrivlet {

class FolderBrowseDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FolderBrowseDialog(QWidget* parent = nullptr);

  FolderBrowseModel& model() { return model_; }
  // The dialog opens 73 x 76 pixels from the owner's upper left corner,
  // modal over it.
  void setOwner(QWidget* owner) { owner_ = owner; }
  // Runs the dialog; true when OK chose a folder.
  bool Browse();
  // What Browse does before the dialog runs: prompts, tree and place.
  void prepare();

  void reject() override;

 signals:
  // Every selection while the dialog is shown; a handler may set
  // model().Prompt2.
  void SelectionChanged(const QString& folder);

 private:
  void selected(const QModelIndex& index);
  void showWhatsThis(QWidget* widget, const QPoint& at);
  void place();

  FolderBrowseModel model_;
  QPointer<QWidget> owner_;
  QLabel* prompt1_;
  QLabel* prompt2_;
  QTreeView* tree_;
  QFileSystemModel* folders_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_FOLDER_BROWSE_DIALOG_H_
