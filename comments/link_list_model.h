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

namespace scrivlet {

class LinkListModel {
 public:
  std::vector<std::string> entries;
  std::string linkBox;
  std::string labelBox;
  // Index into `entries`, -1 when nothing is selected.
  int selected = -1;

  // The entry for a link and its label.
  static std::string entryFor(const std::string& link,
                              const std::string& label);
  // Splits an entry at its first "[": the link is the trimmed text before
  // it, the label the text after it without its last character (the "]").
  static void splitEntry(const std::string& entry, std::string& link,
                         std::string& label);

  // "Add": appends the boxes as an entry and selects it; false (nothing
  // added) when the link box is blank.
  bool add();
  // Clicking an entry selects it and splits it back into the two boxes.
  void click(int index);
  // "Remove": deletes the selected entry and selects the one that took its
  // place, or the one before when the last entry went.
  void remove();
  bool removeEnabled() const { return selected >= 0 && !entries.empty(); }
  // A link chosen with "...": replaces the link box, clears the label and
  // is added at once. An empty choice (cancelled) changes nothing.
  void addPicked(const std::string& link);
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_LINK_LIST_MODEL_H_
