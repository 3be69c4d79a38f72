#ifndef SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_TEST_H_
#define SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_TEST_H_

#include <QObject>

namespace scrivlet {

class ReferenceSelectDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void memberPageShowsAndReturnsTheLink();
  void filePageAndCancel();
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_TEST_H_
