#include "addin/windows/folder_browse_dialog.h"

#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QWhatsThis>

#include "addin/windows/qt_path.h"
#include "addin/windows/qt_text.h"

namespace scrivlet {

namespace {

// The pixel geometry of the dialog and its controls.
constexpr int dialogWidth = 324;
constexpr int dialogHeight = 331;
const QRect prompt1Box(11, 11, 240, 33);
const QRect prompt2Box(11, 44, 240, 20);
const QRect treeWithPrompt2(10, 67, 298, 184);
const QRect treeAlone(10, 43, 298, 208);
const QRect okBox(150, 270, 75, 23);
const QRect cancelBox(231, 270, 75, 23);

ScreenRect screenRect(const QRect& r) {
  return ScreenRect{r.left(), r.top(), r.width(), r.height()};
}

}  // namespace

FolderBrowseDialog::FolderBrowseDialog(QWidget* parent)
    : QDialog(parent),
      prompt1_(new QLabel(this)),
      prompt2_(new QLabel(this)),
      tree_(new QTreeView(this)),
      folders_(new QFileSystemModel(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Browse For Folder"));
  setFixedSize(dialogWidth, dialogHeight);
  prompt1_->setObjectName(QStringLiteral("prompt1"));
  prompt1_->setWordWrap(true);
  prompt1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  prompt1_->setGeometry(prompt1Box);
  prompt2_->setObjectName(QStringLiteral("prompt2"));
  prompt2_->setGeometry(prompt2Box);
  prompt2_->setTextFormat(Qt::PlainText);

  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setReadOnly(true);
  tree_->setObjectName(QStringLiteral("folderTree"));
  tree_->setModel(folders_);
  tree_->setHeaderHidden(true);
  for (int column = 1; column < folders_->columnCount(); ++column)
    tree_->hideColumn(column);
  tree_->setWhatsThis(QStringLiteral(
      "Shows the folders. Click a folder to select it; click the sign beside "
      "a folder, or double-click it, to show or hide the folders it holds."));
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) { selected(index); });

  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setGeometry(okBox);
  ok_->setDefault(true);
  ok_->setWhatsThis(QStringLiteral(
      "Closes this dialog box and uses the folder you selected."));
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  cancel_->setGeometry(cancelBox);
  cancel_->setWhatsThis(
      QStringLiteral("Closes this dialog box without selecting a folder."));
  connect(ok_, &QPushButton::clicked, this, [this] {
    model_.ok();
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &FolderBrowseDialog::reject);

  for (QWidget* widget :
       {static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_),
        static_cast<QWidget*>(tree_)}) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
            [this, widget](const QPoint& at) { showWhatsThis(widget, at); });
  }
}

void FolderBrowseDialog::showWhatsThis(QWidget* widget, const QPoint& at) {
  QMenu menu(this);
  QAction* help = menu.addAction(QStringLiteral("&What's This?"));
  const QPoint global = widget->mapToGlobal(at);
  if (menu.exec(global) == help)
    QWhatsThis::showText(global, widget->whatsThis(), widget);
}

void FolderBrowseDialog::selected(const QModelIndex& index) {
  if (!index.isValid()) return;
  QString path = folders_->filePath(index);
  model_.select(toPath(path));
  emit SelectionChanged(path);
  prompt2_->setText(fromPath(model_.Prompt2));
}

void FolderBrowseDialog::prepare() {
  prompt1_->setText(fromPath(model_.Prompt1));
  prompt2_->setVisible(model_.ShowPrompt2);
  tree_->setGeometry(model_.ShowPrompt2 ? treeWithPrompt2 : treeAlone);

  const QString root = fromPath(model_.RootFolder);
  folders_->setRootPath(root);
  tree_->setRootIndex(folders_->index(root));
  tree_->collapseAll();
  model_.opened();
  emit SelectionChanged(fromPath(model_.currentFolder()));
  prompt2_->setText(fromPath(model_.Prompt2));

  // Only the branch that holds the selected folder is open.
  QModelIndex current = folders_->index(fromPath(model_.currentFolder()));
  {
    QSignalBlocker quiet(tree_->selectionModel());
    tree_->setCurrentIndex(current);
  }
  for (QModelIndex up = current.parent(); up.isValid(); up = up.parent())
    tree_->expand(up);
  tree_->scrollToTop();
  tree_->scrollTo(current);
  place();
}

void FolderBrowseDialog::place() {
  QScreen* screen =
      owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
  QRect available = screen ? screen->availableGeometry()
                           : QRect(0, 0, dialogWidth, dialogHeight);
  ScreenRect owner;
  if (owner_) owner = screenRect(owner_->frameGeometry());
  ScreenRect at = browseDialogPlace(owner_ ? &owner : nullptr, width(),
                                    height(), screenRect(available));
  move(at.left, at.top);
}

bool FolderBrowseDialog::Browse() {
  if (owner_ && owner_ != parentWidget()) setParent(owner_, windowFlags());
  prepare();
  exec();
  return model_.confirmed();
}

void FolderBrowseDialog::reject() {
  model_.cancel();
  QDialog::reject();
}

}  // namespace scrivlet
