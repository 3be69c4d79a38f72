#include "desktop/ide_command_bars.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "addin/windows/qt_text.h"
#include "base/text.h"

namespace scrivlet {

IdeCommandBarControl::IdeCommandBarControl(IdeCommandBar& bar, QAction* action)
    : bar_(bar), action_(action) {
  QObject::connect(action, &QAction::triggered, action, [this] { click(); });
}

std::string IdeCommandBarControl::Caption() const {
  return fromQString(action_->text());
}

void IdeCommandBarControl::setCaption(const std::string& caption) {
  action_->setText(toQString(caption));
}

// Qt makes a tooltip of the caption when none is set; the environment
// answers the one set, or none.
std::string IdeCommandBarControl::TooltipText() const { return tooltip_; }

void IdeCommandBarControl::setTooltipText(const std::string& text) {
  tooltip_ = text;
  action_->setToolTip(toQString(text));
}

void IdeCommandBarControl::PasteFace() {
  QImage face = QGuiApplication::clipboard()->image();
  if (face.isNull()) throw HostError(5, "Invalid procedure call or argument");
  action_->setIcon(QIcon(QPixmap::fromImage(face)));
}

void IdeCommandBarControl::Delete() { bar_.remove(this); }

void IdeCommandBarControl::click() {
  if (!events_.Click) return;
  bool handled = false;
  bool cancelDefault = false;
  // An event handler's failure is the add-in's to report; the host's
  // message loop must survive it.
  try {
    events_.Click(this, handled, cancelDefault);
  } catch (...) {
  }
}

IdeCommandBar::IdeCommandBar(std::string name, QWidget& widget)
    : name_(std::move(name)), widget_(widget) {}

IdeCommandBar::~IdeCommandBar() = default;

std::vector<QAction*> IdeCommandBar::controlActions() const {
  std::vector<QAction*> actions;
  for (QAction* action : widget_.actions())
    if (!action->isSeparator()) actions.push_back(action);
  return actions;
}

long IdeCommandBar::Count() const {
  return static_cast<long>(controlActions().size());
}

CommandBarControl* IdeCommandBar::Item(long index) const {
  std::vector<QAction*> actions = controlActions();
  if (index < 1 || index > static_cast<long>(actions.size()))
    throw HostError(9, "Subscript out of range");
  return control(actions[static_cast<std::size_t>(index - 1)]);
}

CommandBarControl* IdeCommandBar::Add(int type, long before) {
  if (type != msoControlButton)
    throw HostError(5, "Invalid procedure call or argument");
  std::vector<QAction*> actions = controlActions();
  if (before < 0 || before > static_cast<long>(actions.size()))
    throw HostError(9, "Subscript out of range");
  auto* action = new QAction(&widget_);
  if (before == 0)
    widget_.addAction(action);
  else
    widget_.insertAction(actions[static_cast<std::size_t>(before - 1)], action);
  return control(action);
}

IdeCommandBarControl* IdeCommandBar::control(QAction* action) const {
  std::unique_ptr<IdeCommandBarControl>& made = controls_[action];
  if (!made)
    made = std::make_unique<IdeCommandBarControl>(
        const_cast<IdeCommandBar&>(*this), action);
  return made.get();
}

void IdeCommandBar::remove(IdeCommandBarControl* control) {
  QAction* action = control->action();
  widget_.removeAction(action);
  controls_.erase(action);
  // Later: the add-in may delete a control from inside a click of it.
  action->deleteLater();
}

IdeCommandBar& IdeCommandBars::add(const std::string& name, QWidget& widget) {
  bars_.push_back(std::make_unique<IdeCommandBar>(name, widget));
  return *bars_.back();
}

CommandBar* IdeCommandBars::Item(long index) const {
  if (index < 1 || index > Count()) return nullptr;
  return bars_[static_cast<std::size_t>(index - 1)].get();
}

CommandBar* IdeCommandBars::Item(const std::string& name) const {
  for (const auto& bar : bars_)
    if (equalsNoCase(bar->Name(), name)) return bar.get();
  return nullptr;
}

}  // namespace scrivlet
