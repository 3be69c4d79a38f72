// The host's menus and toolbar as the add-in sees them: command bars of
// controls, each control a QAction of a menu, the menu bar or the toolbar.
#ifndef SCRIVLET_DESKTOP_IDE_COMMAND_BARS_H_
#define SCRIVLET_DESKTOP_IDE_COMMAND_BARS_H_

#include <QAction>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"

namespace scrivlet {

class IdeCommandBar;

class IdeCommandBarControl : public CommandBarControl {
 public:
  IdeCommandBarControl(IdeCommandBar& bar, QAction* action);
  std::string Caption() const override;
  void setCaption(const std::string& caption) override;
  std::string TooltipText() const override;
  void setTooltipText(const std::string& text) override;
  void PasteFace() override;
  void Delete() override;

  QAction* action() const { return action_; }
  scrivlet::CommandBarEvents& events() { return events_; }
  // Runs the click handler the add-in set, if any; what it throws stays here.
  void click();

 private:
  IdeCommandBar& bar_;
  QAction* action_;
  std::string tooltip_;
  scrivlet::CommandBarEvents events_;
};

// A menu (QMenu, QMenuBar) or toolbar; its controls are the widget's
// actions, separators left out.
class IdeCommandBar : public CommandBar, public CommandBarControls {
 public:
  IdeCommandBar(std::string name, QWidget& widget);
  ~IdeCommandBar() override;
  std::string Name() const override { return name_; }
  CommandBarControls& Controls() override { return *this; }
  long Count() const override;
  CommandBarControl* Item(long index) const override;
  CommandBarControl* Add(int type, long before = 0) override;

  QWidget& widget() const { return widget_; }
  // The control of `action`, made on first use.
  IdeCommandBarControl* control(QAction* action) const;
  // Removes and destroys the control and its action.
  void remove(IdeCommandBarControl* control);

 private:
  std::vector<QAction*> controlActions() const;

  std::string name_;
  QWidget& widget_;
  mutable std::map<QAction*, std::unique_ptr<IdeCommandBarControl>> controls_;
};

class IdeCommandBars : public CommandBars {
 public:
  IdeCommandBar& add(const std::string& name, QWidget& widget);
  long Count() const override { return static_cast<long>(bars_.size()); }
  CommandBar* Item(long index) const override;
  CommandBar* Item(const std::string& name) const override;

 private:
  std::vector<std::unique_ptr<IdeCommandBar>> bars_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_COMMAND_BARS_H_
