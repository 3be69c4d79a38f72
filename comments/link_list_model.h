// One of the comment editor's link lists (See Also, Examples): the entries
// as the list box shows them, the "Link:" and "Label:" boxes, and the
// selected entry. An entry is "link [label]", or the link alone when it has
// no label:
//   "Module1.Calc [how totals are made]"  -> link "Module1.Calc",
//                                            label "how totals are made"
//   "\"sample.txt"                        -> link "\"sample.txt", label ""
#ifndef SCRIVLET_COMMENTS_LINK_LIST_MODEL_H_
#define SCRIVLET_COMMENTS_LINK_LIST_MODEL_H_

#include <string>
#include <vector>

#include "base/change_notifier.h"

namespace scrivlet {

class LinkListModel {
 public:
  // The entry for a link and its label.
  static std::string entryFor(const std::string& link,
                              const std::string& label);
  // Splits an entry at its first "[": the link is the trimmed text before
  // it, the label the text after it without its last character (the "]").
  static void splitEntry(const std::string& entry, std::string& link,
                         std::string& label);

  const std::vector<std::string>& entries() const { return entries_; }
  const std::string& linkText() const { return linkBox_; }
  const std::string& labelText() const { return labelBox_; }
  // Index into entries(), -1 when nothing is selected.
  int selected() const { return selected_; }
  bool removeEnabled() const { return selected_ >= 0; }
  // Whether an entry begins with `link` (a link already listed, maybe
  // under a label).
  bool hasEntryBeginningWith(const std::string& link) const;

  // A comment read afresh: these entries, nothing selected, empty boxes.
  void reset(std::vector<std::string> entries);
  // What the user typed into the "Link:" and "Label:" boxes.
  void setLinkText(const std::string& text);
  void setLabelText(const std::string& text);
  // "Add": appends the boxes as an entry and selects it; false (nothing
  // added) when the link box is blank.
  bool add();
  // Appends an entry without touching the boxes or the selection.
  void append(const std::string& link, const std::string& label);
  // Clicking an entry selects it and splits it back into the two boxes.
  void selectEntry(int index);
  // "Remove": deletes the selected entry and selects the one that took its
  // place, or the one before when the last entry went.
  void remove();
  // A link chosen with "...": replaces the link box, clears the label and
  // is added at once. An empty choice (cancelled) changes nothing.
  void addPicked(const std::string& link);

  ChangeNotifier& changes() { return changes_; }

 private:
  std::vector<std::string> entries_;
  std::string linkBox_;
  std::string labelBox_;
  int selected_ = -1;
  ChangeNotifier changes_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_LINK_LIST_MODEL_H_
