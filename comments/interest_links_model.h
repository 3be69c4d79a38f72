// The "Interesting references" list: the classes the edited element
// implements, is implemented by or uses ("IShape [implemented]",
// "Circle [implements]", "Stats [used]"), all chosen at first; the user
// unticks the ones not wanted.
#ifndef SCRIVLET_COMMENTS_INTEREST_LINKS_MODEL_H_
#define SCRIVLET_COMMENTS_INTEREST_LINKS_MODEL_H_

#include <string>
#include <vector>

#include "base/change_notifier.h"

namespace scrivlet {

class InterestLinksModel {
 public:
  explicit InterestLinksModel(std::vector<std::string> candidates);

  const std::vector<std::string>& entries() const { return entries_; }
  bool isChosen(int index) const;
  void setChosen(int index, bool on);

  // "Add selected": the chosen entries, in list order.
  const std::vector<std::string>& addSelected();
  // "Cancel": none.
  void cancel();
  const std::vector<std::string>& result() const { return result_; }

  ChangeNotifier& changes() { return changes_; }

 private:
  std::vector<std::string> entries_;
  std::vector<bool> chosen_;
  std::vector<std::string> result_;
  ChangeNotifier changes_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_INTEREST_LINKS_MODEL_H_
