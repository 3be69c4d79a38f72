// "Interesting references": the classes related to the edited element,
// all chosen at first, of which "Add selected" hands back the chosen ones.
#ifndef SCRIVLET_ADDIN_WINDOWS_INTEREST_LINKS_H_
#define SCRIVLET_ADDIN_WINDOWS_INTEREST_LINKS_H_

#include <QDialog>

#include "comments/interest_links_model.h"

class QListWidget;

namespace scrivlet {

class InterestLinks : public QDialog {
  Q_OBJECT

 public:
  // The model must outlive the window; its result() is what the user
  // chose once the window has closed.
  explicit InterestLinks(InterestLinksModel& model, QWidget* parent = nullptr);

 private:
  void refresh();
  void accept() override;
  void reject() override;

  InterestLinksModel& model_;
  QListWidget* list_;
  bool refreshing_ = false;
  ChangeNotifier::Subscription following_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_INTEREST_LINKS_H_
