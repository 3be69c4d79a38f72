// The host's main window, laid out as a Visual Basic developer knows it:
// menu bar, "Standard" toolbar, the project explorer docked on the right,
// code windows as tabs in the middle, and a status bar with the caret's
// line and column. It owns the environment the add-ins see.
#ifndef SCRIVLET_DESKTOP_IDE_FRAME_H_
#define SCRIVLET_DESKTOP_IDE_FRAME_H_

#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/addin_manager.h"
#include "desktop/code_window.h"
#include "desktop/ide_command_bars.h"
#include "desktop/ide_vbe.h"

namespace scrivlet {

class IdeFrame : public QMainWindow, public IdeWindows {
  Q_OBJECT

 public:
  explicit IdeFrame(QWidget* parent = nullptr);
  ~IdeFrame() override;

  // Opens a project or group in place of the open one (asking first about
  // unsaved changes); false, reported, when it cannot be read.
  bool openProject(const QString& path);
  // Asks about unsaved changes and closes the open project; false when the
  // user cancelled.
  bool closeProject();
  // Writes the active project's changes (all projects with `all`); false,
  // reported, when a write failed.
  bool save(bool all);
  CodeWindow* openCodeWindow(IdeCodeModule& module);
  CodeWindow* codeWindow(const IdeCodeModule& module) const;
  void showAddinManager();

  IdeVBE& vbe() { return vbe_; }
  AddinManager& addins() { return *addins_; }
  IdeCommandBars& commandBars() { return bars_; }
  QMenu& codeWindowMenu() const { return *codeMenu_; }
  QTreeWidget& explorer() const { return *explorer_; }
  QMdiArea& codeArea() const { return *mdi_; }

  // How the window talks to the user; tests replace them.
  std::function<void(const QString& title, const QString& text)> report;
  std::function<QMessageBox::StandardButton(const QString& title,
                                            const QString& text)>
      askSaveChanges;

  // IdeWindows
  IdeCodeModule* activeCodeModule() const override;
  void showCodeModule(IdeCodeModule& module) override;
  std::vector<Window*> windows() const override;
  Window* activeWindow() const override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void makeMenus();
  void makeToolbar();
  void makeExplorer();
  void fillExplorer();
  void closeCodeWindows();
  void refreshTitles();
  void refreshCaret();
  void setActiveCodeWindow(CodeWindow* window);
  // Saves first when the user wants; false when they cancelled.
  bool offerToSave();
  QStringList changedFiles() const;
  CodeWindow* activeCodeWindow() const { return active_; }

  IdeCommandBars bars_;
  IdeVBE vbe_;
  std::unique_ptr<AddinManager> addins_;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* addinsMenu_ = nullptr;
  QMenu* codeMenu_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QDockWidget* explorerDock_ = nullptr;
  QTreeWidget* explorer_ = nullptr;
  QMdiArea* mdi_ = nullptr;
  QLabel* caret_ = nullptr;
  std::vector<CodeWindow*> codeWindows_;
  QPointer<CodeWindow> active_;
  // While every window closes, none of them becomes the active one.
  bool closingAll_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_FRAME_H_
