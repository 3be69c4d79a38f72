#include "desktop/ide_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>

#include "addin/windows/qt_text.h"
#include "desktop/addin_manager_dialog.h"

namespace scrivlet {

namespace {

constexpr int moduleRole = Qt::UserRole;
constexpr int projectRole = Qt::UserRole + 1;

// The explorer's folders, in its order, and the component kinds each holds.
struct Folder {
  const char* caption;
  std::vector<int> types;
};
const Folder folders[] = {
    {"Forms", {vbext_ct_VBForm, vbext_ct_VBMDIForm}},
    {"Modules", {vbext_ct_StdModule}},
    {"Class Modules", {vbext_ct_ClassModule}},
    {"User Controls", {vbext_ct_UserControl}},
    {"Property Pages", {vbext_ct_PropPage}},
    {"User Documents", {vbext_ct_DocObject}},
    {"Designers", {vbext_ct_MSForm, vbext_ct_ActiveXDesigner}},
    {"Related Documents", {vbext_ct_RelatedDocument, vbext_ct_ResFile}},
};

QString fileNameOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName();
}

}  // namespace

IdeFrame::IdeFrame(QWidget* parent)
    : QMainWindow(parent), vbe_(*this, bars_) {
  setObjectName(QStringLiteral("ide"));
  report = [this](const QString& title, const QString& text) {
    QMessageBox::warning(this, title, text);
  };
  askSaveChanges = [this](const QString& title, const QString& text) {
    return QMessageBox::question(
        this, title, text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  };
  addins_ = std::make_unique<AddinManager>(
      vbe_, [this](const QString& title, const QString& text) {
        if (report) report(title, text);
      });

  mdi_ = new QMdiArea;
  mdi_->setObjectName(QStringLiteral("codeArea"));
  mdi_->setViewMode(QMdiArea::TabbedView);
  mdi_->setTabsClosable(true);
  mdi_->setTabsMovable(true);
  mdi_->setDocumentMode(true);
  mdi_->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    if (sub) setActiveCodeWindow(qobject_cast<CodeWindow*>(sub->widget()));
  });

  makeMenus();
  makeToolbar();
  makeExplorer();
  caret_ = new QLabel;
  caret_->setObjectName(QStringLiteral("caretLabel"));
  caret_->setMinimumWidth(120);
  statusBar()->addPermanentWidget(caret_);
  setWindowTitle(QStringLiteral("Scrivlet IDE"));
  resize(1100, 720);
}

IdeFrame::~IdeFrame() {
  // The add-ins go first, while everything they added still exists; then
  // the code windows, which hand their text to modules that die with vbe_.
  addins_.reset();
  closeCodeWindows();
}

void IdeFrame::makeMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("fileMenu"));
  QAction* open = openAction_ = file->addAction(
      style()->standardIcon(QStyle::SP_DialogOpenButton),
      QStringLiteral("&Open Project..."), this, [this] {
        QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open Project"), QString(),
            QStringLiteral("Visual Basic Projects (*.vbp *.vbg);;All Files (*)"));
        if (!path.isEmpty()) openProject(path);
      });
  open->setObjectName(QStringLiteral("openAction"));
  open->setShortcut(QKeySequence::Open);
  QAction* saveOne = saveAction_ = file->addAction(
      style()->standardIcon(QStyle::SP_DialogSaveButton),
      QStringLiteral("&Save Project"), this, [this] { save(false); });
  saveOne->setObjectName(QStringLiteral("saveAction"));
  saveOne->setShortcut(QKeySequence::Save);
  file->addAction(QStringLiteral("Save A&ll"), this, [this] { save(true); })
      ->setObjectName(QStringLiteral("saveAllAction"));
  file->addAction(QStringLiteral("&Close Project"), this, [this] {
        closeProject();
      })->setObjectName(QStringLiteral("closeAction"));
  file->addSeparator();
  file->addAction(QStringLiteral("E&xit"), this, &QWidget::close)
      ->setObjectName(QStringLiteral("exitAction"));

  // The edit commands act on the code window with the caret.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  auto editAction = [this, edit](const QString& caption, QKeySequence key,
                                 void (QPlainTextEdit::*slot)()) {
    QAction* action = edit->addAction(caption, this, [this, slot] {
      if (active_) (active_.data()->*slot)();
    });
    action->setShortcut(key);
    return action;
  };
  editAction(QStringLiteral("&Undo"), QKeySequence::Undo, &QPlainTextEdit::undo);
  editAction(QStringLiteral("&Redo"), QKeySequence::Redo, &QPlainTextEdit::redo);
  edit->addSeparator();
  QAction* cut = editAction(QStringLiteral("Cu&t"), QKeySequence::Cut,
                            &QPlainTextEdit::cut);
  QAction* copy = editAction(QStringLiteral("&Copy"), QKeySequence::Copy,
                             &QPlainTextEdit::copy);
  QAction* paste = editAction(QStringLiteral("&Paste"), QKeySequence::Paste,
                              &QPlainTextEdit::paste);
  edit->addSeparator();
  editAction(QStringLiteral("Select &All"), QKeySequence::SelectAll,
             &QPlainTextEdit::selectAll);

  viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));

  addinsMenu_ = menuBar()->addMenu(QStringLiteral("&Add-Ins"));
  addinsMenu_->setObjectName(QStringLiteral("addinsMenu"));
  addinsMenu_->addAction(QStringLiteral("&Add-In Manager..."), this,
                         [this] { showAddinManager(); })
      ->setObjectName(QStringLiteral("addinManagerAction"));
  addinsMenu_->addSeparator();

  codeMenu_ = new QMenu(this);
  codeMenu_->setObjectName(QStringLiteral("codeWindowMenu"));
  codeMenu_->addAction(cut);
  codeMenu_->addAction(copy);
  codeMenu_->addAction(paste);
  codeMenu_->addSeparator();

  bars_.add("Menu Bar", *menuBar());
}

void IdeFrame::makeToolbar() {
  toolbar_ = addToolBar(QStringLiteral("Standard"));
  toolbar_->setObjectName(QStringLiteral("standardToolbar"));
  toolbar_->setIconSize(QSize(16, 16));
  toolbar_->setMovable(false);
  toolbar_->addAction(openAction_);
  toolbar_->addAction(saveAction_);
  toolbar_->addSeparator();
  bars_.add("Standard", *toolbar_);
  // An add-in's command may change a module without a line moving (a
  // description, a help number): the titles catch up after every command.
  connect(toolbar_, &QToolBar::actionTriggered, this, [this] { refreshTitles(); });
  connect(codeMenu_, &QMenu::triggered, this, [this] { refreshTitles(); });
  connect(addinsMenu_, &QMenu::triggered, this, [this] { refreshTitles(); });
  bars_.add("Code Window", *codeMenu_);
  bars_.add("Add-Ins", *addinsMenu_);
}

void IdeFrame::makeExplorer() {
  explorer_ = new QTreeWidget;
  explorer_->setObjectName(QStringLiteral("projectExplorer"));
  explorer_->setHeaderHidden(true);
  explorer_->setUniformRowHeights(true);
  explorerDock_ = new QDockWidget(QStringLiteral("Project"), this);
  explorerDock_->setObjectName(QStringLiteral("projectExplorerDock"));
  explorerDock_->setWidget(explorer_);
  explorerDock_->setFeatures(QDockWidget::DockWidgetClosable |
                             QDockWidget::DockWidgetMovable);
  addDockWidget(Qt::RightDockWidgetArea, explorerDock_);
  resizeDocks({explorerDock_}, {310}, Qt::Horizontal);

  // An action of its own: the dock's own one takes the dock's title,
  // which names the project.
  auto* show = new QAction(QStringLiteral("Project E&xplorer"), this);
  show->setCheckable(true);
  show->setChecked(true);
  connect(show, &QAction::toggled, explorerDock_, &QWidget::setVisible);
  connect(explorerDock_->toggleViewAction(), &QAction::toggled, show,
          &QAction::setChecked);
  show->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
  show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  viewMenu_->addAction(show);
  toolbar_->addAction(show);

  auto openItem = [this](QTreeWidgetItem* item) {
    if (!item) return;
    auto* module = reinterpret_cast<IdeCodeModule*>(
        item->data(0, moduleRole).value<quintptr>());
    if (module) showCodeModule(*module);
  };
  connect(explorer_, &QTreeWidget::itemActivated, this,
          [openItem](QTreeWidgetItem* item, int) { openItem(item); });
  // Choosing anything of a project in the explorer makes it the active one.
  connect(explorer_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) {
            if (!item) return;
            auto* project = reinterpret_cast<VBProject*>(
                item->data(0, projectRole).value<quintptr>());
            if (project) vbe_.setActiveVBProject(project);
          });
}

void IdeFrame::fillExplorer() {
  explorer_->clear();
  QTreeWidgetItem* top = nullptr;
  QString path = QString::fromStdString(vbe_.path());
  if (vbe_.isOpen() && path.endsWith(QLatin1String(".vbg"), Qt::CaseInsensitive)) {
    top = new QTreeWidgetItem(explorer_, {QStringLiteral("Project Group - %1 (%2)")
                                              .arg(QFileInfo(path).completeBaseName(),
                                                   QFileInfo(path).fileName())});
    top->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  }
  for (const auto& project : vbe_.projects()) {
    auto* projectItem = top ? new QTreeWidgetItem(top) : new QTreeWidgetItem(explorer_);
    projectItem->setText(0, QStringLiteral("%1 (%2)").arg(
                                toQString(project->Name(), project->codePage()),
                                fileNameOf(project->FileName())));
    projectItem->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
    projectItem->setData(0, projectRole, quintptr(project.get()));
    for (const Folder& folder : folders) {
      QTreeWidgetItem* folderItem = nullptr;
      for (const auto& component : project->components()) {
        if (std::find(folder.types.begin(), folder.types.end(),
                      component->Type()) == folder.types.end())
          continue;
        if (!folderItem) {
          folderItem = new QTreeWidgetItem(projectItem,
                                           {QString::fromLatin1(folder.caption)});
          folderItem->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
          folderItem->setData(0, projectRole, quintptr(project.get()));
        }
        auto* item = new QTreeWidgetItem(folderItem);
        QString file = fileNameOf(component->FileName());
        QString name = toQString(component->Name(), project->codePage());
        item->setText(0, file.isEmpty() ? name
                                        : QStringLiteral("%1 (%2)").arg(name, file));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        item->setData(0, projectRole, quintptr(project.get()));
        item->setData(0, moduleRole, quintptr(component->ideCodeModule()));
        if (!component->ideCodeModule()) item->setDisabled(true);
      }
    }
  }
  explorer_->expandAll();
}

bool IdeFrame::openProject(const QString& path) {
  if (!offerToSave()) return false;
  // Read before anything closes: a file that cannot be read leaves the
  // open project as it was.
  std::string error;
  std::unique_ptr<DiskVBE> disk = openProjectOrGroup(path.toStdString(), error);
  if (!disk) {
    report(QStringLiteral("Open Project"), QString::fromStdString(error));
    return false;
  }
  closeCodeWindows();
  vbe_.adopt(path.toStdString(), std::move(disk));
  fillExplorer();
  QString name = QFileInfo(path).completeBaseName();
  if (VBProject* active = vbe_.ActiveVBProject())
    name = toQString(active->Name(), vbe_.projects().front()->codePage());
  setWindowTitle(QStringLiteral("%1 - Scrivlet IDE").arg(name));
  explorerDock_->setWindowTitle(
      QStringLiteral("Project - %1").arg(QFileInfo(path).completeBaseName()));
  if (!vbe_.loadMessages().empty()) {
    QStringList lines;
    for (const std::string& message : vbe_.loadMessages())
      lines << QString::fromStdString(message);
    report(QStringLiteral("Open Project"), lines.join(QLatin1Char('\n')));
  }
  return true;
}

bool IdeFrame::closeProject() {
  if (!offerToSave()) return false;
  closeCodeWindows();
  vbe_.close();
  fillExplorer();
  setWindowTitle(QStringLiteral("Scrivlet IDE"));
  explorerDock_->setWindowTitle(QStringLiteral("Project"));
  return true;
}

QStringList IdeFrame::changedFiles() const {
  QStringList files;
  for (const auto& project : vbe_.projects()) {
    qsizetype before = files.size();
    for (const auto& component : project->components())
      if (component->ideCodeModule() && component->ideCodeModule()->changed())
        files << fileNameOf(component->FileName());
    if (files.size() == before && project->changed())
      files << fileNameOf(project->FileName());
  }
  return files;
}

bool IdeFrame::offerToSave() {
  if (!vbe_.changed()) return true;
  QMessageBox::StandardButton answer = askSaveChanges(
      QStringLiteral("Scrivlet IDE"),
      QStringLiteral("Save changes to the following files?\n\n%1")
          .arg(changedFiles().join(QLatin1Char('\n'))));
  if (answer == QMessageBox::Cancel) return false;
  if (answer == QMessageBox::Yes) return save(true);
  return true;
}

bool IdeFrame::save(bool all) {
  IdeVBProject* project = nullptr;
  if (!all)
    for (const auto& each : vbe_.projects())
      if (each.get() == vbe_.ActiveVBProject()) project = each.get();
  std::vector<std::string> errors = vbe_.save(all ? nullptr : project);
  refreshTitles();
  if (errors.empty()) return true;
  QStringList lines;
  for (const std::string& error : errors) lines << QString::fromStdString(error);
  report(QStringLiteral("Save"), lines.join(QLatin1Char('\n')));
  return false;
}

CodeWindow* IdeFrame::codeWindow(const IdeCodeModule& module) const {
  for (CodeWindow* window : codeWindows_)
    if (&window->module() == &module) return window;
  return nullptr;
}

CodeWindow* IdeFrame::openCodeWindow(IdeCodeModule& module) {
  if (CodeWindow* open = codeWindow(module)) {
    open->SetFocus();
    return open;
  }
  IdeVBProject* project = vbe_.projectOf(module);
  QString caption = QStringLiteral("%1 - %2 (Code)").arg(
      project ? toQString(project->Name(), module.codePage()) : QString(),
      toQString(module.Name(), module.codePage()));
  auto* window = new CodeWindow(module, caption, codeMenu_);
  codeWindows_.push_back(window);
  connect(window, &QObject::destroyed, this, [this, window] {
    std::erase(codeWindows_, window);
    if (!closingAll_ && !active_ && !codeWindows_.empty()) {
      QMdiSubWindow* next = mdi_->currentSubWindow();
      setActiveCodeWindow(next ? qobject_cast<CodeWindow*>(next->widget())
                               : codeWindows_.back());
    }
  });
  connect(window, &CodeWindow::focused, this,
          [this](CodeWindow* focused) { setActiveCodeWindow(focused); });
  connect(window, &QPlainTextEdit::cursorPositionChanged, this,
          [this, window] {
            if (window == active_) refreshCaret();
          });
  QMdiSubWindow* sub = mdi_->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
  // Tabs show their windows maximized, also before the frame is active.
  sub->showMaximized();
  window->SetFocus();
  setActiveCodeWindow(window);
  return window;
}

void IdeFrame::setActiveCodeWindow(CodeWindow* window) {
  if (!window || window == active_) return;
  active_ = window;
  refreshCaret();
  if (IdeVBProject* project = vbe_.projectOf(window->module()))
    vbe_.setActiveVBProject(project);
}

void IdeFrame::closeCodeWindows() {
  closingAll_ = true;
  for (CodeWindow* window : std::vector<CodeWindow*>(codeWindows_)) {
    QWidget* sub = window->parentWidget();
    delete (sub ? sub : window);
  }
  codeWindows_.clear();
  active_ = nullptr;
  closingAll_ = false;
  refreshCaret();
}

void IdeFrame::refreshTitles() {
  for (CodeWindow* window : codeWindows_) window->refreshTitle();
}

void IdeFrame::refreshCaret() {
  if (!caret_) return;
  if (!active_) {
    caret_->clear();
    return;
  }
  long startLine, startColumn, endLine, endColumn;
  active_->getSelection(startLine, startColumn, endLine, endColumn);
  caret_->setText(QStringLiteral("Ln %1, Col %2").arg(endLine).arg(endColumn));
}

void IdeFrame::showAddinManager() {
  AddinManagerDialog dialog(*addins_, this);
  dialog.exec();
}

IdeCodeModule* IdeFrame::activeCodeModule() const {
  return active_ ? &active_->module() : nullptr;
}

void IdeFrame::showCodeModule(IdeCodeModule& module) { openCodeWindow(module); }

std::vector<Window*> IdeFrame::windows() const {
  return {codeWindows_.begin(), codeWindows_.end()};
}

Window* IdeFrame::activeWindow() const { return active_.data(); }

bool IdeFrame::event(QEvent* event) {
  if (event->type() == QEvent::ApplicationPaletteChange)
    vbe_.mainWindow().colorsChanged();
  return QMainWindow::event(event);
}

void IdeFrame::closeEvent(QCloseEvent* event) {
  if (offerToSave())
    event->accept();
  else
    event->ignore();
}

}  // namespace scrivlet
