// "Select reference": the window over ReferenceModel in which the comment
// editor lets the user pick the target of a link, a member or module of
// the project (member page) or a file (file page).
#ifndef SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_H_
#define SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_H_

#include <QDialog>
#include <functional>
#include <string>

#include "addin/reference_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace scrivlet {

class ReferenceSelectDlg : public QDialog {
  Q_OBJECT

 public:
  // Asks for a file to open: title, folder, proposed name, filter; returns
  // the path, empty when cancelled.
  using FileChooser =
      std::function<std::string(const std::string&, const std::string&,
                                const std::string&, const std::string&)>;

  // The model is set up (wrapper, selected, one of the init calls) before
  // the window opens; it must outlive the window.
  explicit ReferenceSelectDlg(ReferenceModel& model, QWidget* parent = nullptr);

  // Replaces the file dialog of "..." (tests).
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  void refresh();
  void refreshMembers();
  void browse();
  void accept() override;
  void reject() override;

  ReferenceModel& model_;
  FileChooser chooseFile_;
  bool refreshing_ = false;
  bool activated_ = false;
  QGroupBox* choice_;
  QRadioButton* memberOption_;
  QRadioButton* fileOption_;
  QStackedWidget* pages_;
  QWidget* memberPage_;
  QWidget* filePage_;
  QComboBox* moduleCombo_;
  QListWidget* memberList_;
  QLineEdit* fileNameBox_;
  QPushButton* browseButton_;
  QCheckBox* absolutePathBox_;
  ChangeNotifier::Subscription following_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_REFERENCE_SELECT_DLG_H_
