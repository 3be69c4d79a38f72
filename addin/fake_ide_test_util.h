// For tests: what only an environment with windows has, in memory. Command
// bars hold controls that remember their caption, tooltip and face; the
// clipboard holds a text or a picture; windows record focus and close.
// Together with the projects of source/fake_host_test_util.h.
#ifndef SCRIVLET_ADDIN_FAKE_IDE_TEST_UTIL_H_
#define SCRIVLET_ADDIN_FAKE_IDE_TEST_UTIL_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/vbide.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {

class FakeClipboard : public Clipboard {
 public:
  std::optional<std::string> textHeld;
  std::optional<Picture> pictureHeld;

  bool hasText() const override { return textHeld.has_value(); }
  std::string text() const override { return textHeld.value_or(""); }
  void setText(const std::string& text) override {
    clear();
    textHeld = text;
  }
  bool hasPicture() const override { return pictureHeld.has_value(); }
  void setPicture(const Picture& picture) override {
    clear();
    pictureHeld = picture;
  }
  void clear() override {
    textHeld.reset();
    pictureHeld.reset();
  }
};

class FakeControls;

class FakeControl : public CommandBarControl {
 public:
  FakeControl(FakeControls& owner, Clipboard& clipboard)
      : owner_(owner), clipboard_(clipboard) {}
  std::string Caption() const override { return caption; }
  void setCaption(const std::string& text) override { caption = text; }
  std::string TooltipText() const override { return tooltip; }
  void setTooltipText(const std::string& text) override { tooltip = text; }
  void PasteFace() override;
  void Delete() override;

  std::string caption;
  std::string tooltip;
  std::optional<Picture> face;
  int facesPasted = 0;

 private:
  FakeControls& owner_;
  Clipboard& clipboard_;
};

class FakeControls : public CommandBarControls {
 public:
  explicit FakeControls(Clipboard& clipboard) : clipboard_(clipboard) {}
  long Count() const override { return static_cast<long>(controls.size()); }
  CommandBarControl* Item(long index) const override {
    if (index < 1 || index > Count()) throw HostError(9, "Invalid index");
    return controls[static_cast<std::size_t>(index - 1)].get();
  }
  CommandBarControl* Add(int, long before) override {
    if (failAdding) throw HostError(5, "Invalid procedure call");
    auto control = std::make_unique<FakeControl>(*this, clipboard_);
    auto at = before == 0 ? controls.end() : controls.begin() + (before - 1);
    return controls.insert(at, std::move(control))->get();
  }
  // The captions in order, joined by "|".
  std::string captions() const {
    std::string text;
    for (const auto& control : controls)
      text += (text.empty() ? "" : "|") + control->caption;
    return text;
  }

  std::vector<std::unique_ptr<FakeControl>> controls;
  bool failAdding = false;

 private:
  Clipboard& clipboard_;
};

inline void FakeControl::PasteFace() {
  auto* clipboard = dynamic_cast<FakeClipboard*>(&clipboard_);
  if (!clipboard || !clipboard->pictureHeld)
    throw HostError(1004, "The clipboard holds no picture");
  face = clipboard->pictureHeld;
  ++facesPasted;
}

inline void FakeControl::Delete() {
  auto& list = owner_.controls;
  list.erase(std::find_if(list.begin(), list.end(),
                          [&](const auto& c) { return c.get() == this; }));
}

class FakeCommandBar : public CommandBar {
 public:
  FakeCommandBar(std::string name, Clipboard& clipboard)
      : name_(std::move(name)), controls(clipboard) {}
  std::string Name() const override { return name_; }
  CommandBarControls& Controls() override { return controls; }

 private:
  std::string name_;

 public:
  FakeControls controls;
};

class FakeCommandBars : public CommandBars {
 public:
  explicit FakeCommandBars(Clipboard& clipboard) : clipboard_(clipboard) {}
  FakeCommandBar& add(const std::string& name) {
    bars.push_back(std::make_unique<FakeCommandBar>(name, clipboard_));
    return *bars.back();
  }
  long Count() const override { return static_cast<long>(bars.size()); }
  CommandBar* Item(long index) const override {
    if (index < 1 || index > Count()) return nullptr;
    return bars[static_cast<std::size_t>(index - 1)].get();
  }
  CommandBar* Item(const std::string& name) const override {
    for (const auto& bar : bars)
      if (bar->Name() == name) return bar.get();
    return nullptr;
  }
  // Every control left on every bar, "bar: caption|caption" a line.
  std::string serialize() const {
    std::string text;
    for (const auto& bar : bars)
      text += bar->Name() + ": " + bar->controls.captions() + "\n";
    return text;
  }

  std::vector<std::unique_ptr<FakeCommandBar>> bars;

 private:
  Clipboard& clipboard_;
};

class FakeEvents : public Events {
 public:
  scrivlet::CommandBarEvents* CommandBarEvents(CommandBarControl* control) override {
    auto& events = sources[control];
    if (!events) events = std::make_unique<scrivlet::CommandBarEvents>();
    return events.get();
  }
  scrivlet::VBProjectsEvents* VBProjectsEvents() override { return &projects; }
  // Chooses `control` as the user would.
  void click(CommandBarControl* control) {
    auto it = sources.find(control);
    if (it == sources.end() || !it->second->Click) return;
    bool handled = false, cancelDefault = false;
    it->second->Click(control, handled, cancelDefault);
  }
  // How many handlers are set, click and project events together.
  int handlersSet() const {
    int count = 0;
    for (const auto& [control, events] : sources) count += events->Click ? 1 : 0;
    return count + (projects.ItemActivated ? 1 : 0) + (projects.ItemAdded ? 1 : 0);
  }

  std::map<CommandBarControl*, std::unique_ptr<scrivlet::CommandBarEvents>> sources;
  scrivlet::VBProjectsEvents projects;
};

class FakeMainWindow : public MainWindow {
 public:
  std::uint32_t buttonFaceColor() const override { return faceColor; }
  std::uint32_t faceColor = 0xD4D0C8;
};

class FakeWindow : public Window {
 public:
  FakeWindow(std::string caption, std::string& log)
      : caption_(std::move(caption)), log_(log) {}
  std::string Caption() const override { return caption_; }
  void SetFocus() override { log_ += "focus " + caption_ + "\n"; }
  void Close() override { log_ += "close " + caption_ + "\n"; }

 private:
  std::string caption_;
  std::string& log_;
};

class FakePane : public CodePane {
 public:
  FakePane(scrivlet::CodeModule* module, scrivlet::Window* window)
      : module_(module), window_(window) {}
  void GetSelection(long& startLine, long& startColumn, long& endLine,
                    long& endColumn) const override {
    startLine = selection[0];
    startColumn = selection[1];
    endLine = selection[2];
    endColumn = selection[3];
  }
  void SetSelection(long startLine, long startColumn, long endLine,
                    long endColumn) override {
    selection = {startLine, startColumn, endLine, endColumn};
  }
  long TopLine() const override { return topLine; }
  void setTopLine(long line) override { topLine = line; }
  scrivlet::CodeModule* CodeModule() const override { return module_; }
  scrivlet::Window* Window() const override { return window_; }

  std::array<long, 4> selection{1, 1, 1, 1};
  long topLine = 1;

 private:
  scrivlet::CodeModule* module_;
  scrivlet::Window* window_;
};

// The environment: projects, "Add-Ins", "Standard" (holding two buttons)
// and "Code Window" bars, a clipboard, windows and a main window. Making a
// pane active makes its project the active one and tells the add-in so.
class FakeIde : public VBE {
 public:
  FakeIde() : bars(clipboard) {
    bars.add("Menu Bar");
    bars.add("Standard");
    bars.add("Add-Ins");
    bars.add("Code Window");
    FakeControls& standard = bars.bars[1]->controls;
    standard.Add(msoControlButton, 0)->setCaption("Open");
    standard.Add(msoControlButton, 0)->setCaption("Save");
  }

  FakeProject& addProject(const std::string& fileName) {
    projects.push_back(std::make_unique<FakeProject>(fileName));
    if (!active) active = projects.back().get();
    return *projects.back();
  }
  // A pane and code window for `module`, open or not.
  FakePane& addPane(FakeModule& module, const std::string& caption, bool open) {
    windowList.push_back(std::make_unique<FakeWindow>(caption, windowLog));
    if (open) openWindows.push_back(windowList.back().get());
    panes.push_back(std::make_unique<FakePane>(&module, windowList.back().get()));
    module.setCodePane(panes.back().get());
    return *panes.back();
  }

  VBProject* ActiveVBProject() const override { return active; }
  void setActiveVBProject(VBProject* project) override {
    if (project == active) return;
    active = project;
    if (events.projects.ItemActivated) events.projects.ItemActivated(project);
  }
  std::vector<VBProject*> VBProjects() const override {
    std::vector<VBProject*> list;
    for (const auto& project : projects) list.push_back(project.get());
    return list;
  }
  scrivlet::CodePane* ActiveCodePane() const override { return activePane; }
  void setActiveCodePane(scrivlet::CodePane* pane) override {
    activePane = pane;
    for (const auto& project : projects)
      for (VBComponent* component : project->VBComponents())
        if (component->CodeModule() && component->CodeModule()->CodePane() == pane)
          setActiveVBProject(project.get());
  }
  scrivlet::CommandBars* CommandBars() const override {
    return const_cast<FakeCommandBars*>(&bars);
  }
  scrivlet::Events* Events() const override {
    return const_cast<FakeEvents*>(&events);
  }
  scrivlet::MainWindow* MainWindow() const override {
    return const_cast<FakeMainWindow*>(&mainWindow);
  }
  std::vector<scrivlet::Window*> Windows() const override { return openWindows; }
  scrivlet::Window* ActiveWindow() const override { return activeWindow; }
  scrivlet::Clipboard* Clipboard() const override {
    return const_cast<FakeClipboard*>(&clipboard);
  }

  FakeClipboard clipboard;
  FakeCommandBars bars;
  FakeEvents events;
  FakeMainWindow mainWindow;
  std::vector<std::unique_ptr<FakeProject>> projects;
  std::vector<std::unique_ptr<FakePane>> panes;
  std::vector<std::unique_ptr<FakeWindow>> windowList;
  std::vector<scrivlet::Window*> openWindows;
  scrivlet::Window* activeWindow = nullptr;
  std::string windowLog;
  VBProject* active = nullptr;
  scrivlet::CodePane* activePane = nullptr;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_FAKE_IDE_TEST_UTIL_H_
