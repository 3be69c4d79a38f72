// The development environment of the desktop host, as the add-in sees it:
// the disk host's projects, with code windows, command bars, events, the
// main window and the clipboard of the Qt program around it.
//
// Threading: every object here is called on the user-interface thread only.
#ifndef SCRIVLET_DESKTOP_IDE_VBE_H_
#define SCRIVLET_DESKTOP_IDE_VBE_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"
#include "desktop/ide_command_bars.h"
#include "desktop/ide_project.h"
#include "platform/disk_vbe.h"

namespace scrivlet {

// What the environment asks of the window that holds the code windows.
class IdeWindows {
 public:
  virtual ~IdeWindows() = default;
  virtual IdeCodeModule* activeCodeModule() const = 0;
  // Opens the module's code window (if closed) and gives it the focus.
  virtual void showCodeModule(IdeCodeModule& module) = 0;
  virtual std::vector<Window*> windows() const = 0;
  virtual Window* activeWindow() const = 0;
};

class IdeEvents : public Events {
 public:
  scrivlet::CommandBarEvents* CommandBarEvents(
      CommandBarControl* control) override;
  scrivlet::VBProjectsEvents* VBProjectsEvents() override { return &projects_; }
  // Calls a project handler the add-in set; what it throws stays here.
  void projectAdded(VBProject* project);
  void projectActivated(VBProject* project);

 private:
  scrivlet::VBProjectsEvents projects_;
};

class IdeMainWindow : public MainWindow {
 public:
  std::uint32_t buttonFaceColor() const override;
  // The application's colours changed: tells the add-in, if it listens.
  void colorsChanged();
};

class IdeClipboard : public Clipboard {
 public:
  bool hasText() const override;
  std::string text() const override;
  void setText(const std::string& text) override;
  bool hasPicture() const override;
  void setPicture(const Picture& picture) override;
  void clear() override;
};

class IdeVBE : public VBE {
 public:
  IdeVBE(IdeWindows& windows, IdeCommandBars& bars);
  ~IdeVBE() override;

  VBProject* ActiveVBProject() const override { return active_; }
  void setActiveVBProject(VBProject* project) override;
  std::vector<VBProject*> VBProjects() const override;
  CodePane* ActiveCodePane() const override;
  // Opens the pane's code window and makes its project the active one.
  void setActiveCodePane(CodePane* pane) override;
  scrivlet::CommandBars* CommandBars() const override { return &bars_; }
  scrivlet::Events* Events() const override { return &events_; }
  scrivlet::MainWindow* MainWindow() const override { return &mainWindow_; }
  std::vector<Window*> Windows() const override { return windows_.windows(); }
  Window* ActiveWindow() const override { return windows_.activeWindow(); }
  scrivlet::Clipboard* Clipboard() const override { return &clipboard_; }

  // Takes the project or group read from `path` in place of the one open
  // now. Load problems that did not stop the reading are in loadMessages().
  void adopt(const std::string& path, std::unique_ptr<DiskVBE> disk);
  // Forgets the open projects (unsaved changes with them).
  void close();
  bool isOpen() const { return disk_ != nullptr; }
  const std::vector<std::string>& loadMessages() const;
  const std::vector<std::unique_ptr<IdeVBProject>>& projects() const {
    return projects_;
  }
  // The path that was opened: a project file or a group file.
  const std::string& path() const { return path_; }
  IdeVBProject* projectOf(const IdeCodeModule& module) const;
  bool changed() const;
  // Writes what changed in `project` (all projects when none); the messages
  // of the writes that failed.
  std::vector<std::string> save(IdeVBProject* project = nullptr);
  IdeEvents& events() { return events_; }
  IdeMainWindow& mainWindow() { return mainWindow_; }

 private:
  IdeWindows& windows_;
  IdeCommandBars& bars_;
  mutable IdeEvents events_;
  mutable IdeMainWindow mainWindow_;
  mutable IdeClipboard clipboard_;
  std::string path_;
  std::unique_ptr<DiskVBE> disk_;
  std::vector<std::unique_ptr<IdeVBProject>> projects_;
  VBProject* active_ = nullptr;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_VBE_H_
