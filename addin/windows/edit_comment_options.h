// "Comment Editor Options": wrapping and the "$EOL$" line breaks, over
// CommentEditorOptions; OK writes them into the settings record.
#ifndef SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_OPTIONS_H_
#define SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_OPTIONS_H_

#include <QDialog>

#include "comments/comment_editor_options.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace scrivlet {

class EditCommentOptions : public QDialog {
  Q_OBJECT

 public:
  // `settings` receives the options on OK and must outlive the window.
  explicit EditCommentOptions(ProjectSettings& settings,
                              QWidget* parent = nullptr);

  CommentEditorOptions& model() { return model_; }

 private:
  void refresh();
  void accept() override;

  ProjectSettings& settings_;
  CommentEditorOptions model_;
  QCheckBox* wordWrapBox_;
  QLabel* lengthLabel_;
  QSpinBox* lengthBox_;
  QCheckBox* eolBox_;
  bool refreshing_ = false;
  ChangeNotifier::Subscription following_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_WINDOWS_EDIT_COMMENT_OPTIONS_H_
