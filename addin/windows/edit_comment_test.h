#ifndef SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_TEST_H_
#define SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_TEST_H_

#include <QObject>

namespace scrivlet {

class EditCommentTest : public QObject {
  Q_OBJECT

 private slots:
  void tabsCaptionAndApply();
  void settingsGridKeys();
  void referencesTab();
  void ctrlTabAndSourceView();
  void optionsWindow();
  void interestingReferencesWindow();
  void nothingToEdit();
  void commandOverTheExample();
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_TEST_H_
