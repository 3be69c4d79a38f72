// The comment editor's box for one link list (See Also, Examples): the
// "Link:" and "Label:" boxes, the list, "...", "Add", "Remove", and room
// for the buttons only one of the lists has.
#ifndef SCRIVLET_ADDIN_WINDOWS_LINK_LIST_BOX_H_
#define SCRIVLET_ADDIN_WINDOWS_LINK_LIST_BOX_H_

#include <QGroupBox>
#include <functional>

#include "comments/link_list_model.h"

class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace scrivlet {

class LinkListBox : public QGroupBox {
  Q_OBJECT

 public:
  // `name` prefixes the objectNames ("seeAlso" -> "seeAlsoLinkBox");
  // `listTip` is the list's tooltip; `codePage` that of the project's text.
  // The model must outlive the box.
  LinkListBox(const QString& title, const QString& name, const QString& listTip,
              LinkListModel& model, int codePage, QWidget* parent = nullptr);

  // "..." clicked: the box's link text stored first, then `pick` runs.
  void onPick(std::function<void()> pick) { pick_ = std::move(pick); }
  // A button of this list alone, in the button row after "Remove".
  QPushButton* addButton(const QString& caption, const QString& objectName);
  // Writes the typed link and label into the model.
  void storeBoxes();

 private:
  void refresh();

  LinkListModel& model_;
  int codePage_;
  std::function<void()> pick_;
  QLineEdit* linkBox_;
  QLineEdit* labelBox_;
  QListWidget* list_;
  QPushButton* removeButton_;
  QHBoxLayout* buttonRow_;
  bool refreshing_ = false;
  ChangeNotifier::Subscription following_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_LINK_LIST_BOX_H_
