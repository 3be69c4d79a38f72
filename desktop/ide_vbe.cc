#include "desktop/ide_vbe.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPalette>

#include "addin/windows/qt_text.h"

namespace scrivlet {

scrivlet::CommandBarEvents* IdeEvents::CommandBarEvents(
    CommandBarControl* control) {
  auto* ours = dynamic_cast<IdeCommandBarControl*>(control);
  if (!ours) throw HostError(5, "Invalid procedure call or argument");
  return &ours->events();
}

// A handler's failure is the add-in's to report; the host goes on.
void IdeEvents::projectAdded(VBProject* project) {
  if (!projects_.ItemAdded) return;
  try {
    projects_.ItemAdded(project);
  } catch (...) {
  }
}

void IdeEvents::projectActivated(VBProject* project) {
  if (!projects_.ItemActivated) return;
  try {
    projects_.ItemActivated(project);
  } catch (...) {
  }
}

std::uint32_t IdeMainWindow::buttonFaceColor() const {
  return QApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFFu;
}

void IdeMainWindow::colorsChanged() {
  if (!SystemColorsChanged) return;
  try {
    SystemColorsChanged();
  } catch (...) {
  }
}

bool IdeClipboard::hasText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}

// The system's clipboard breaks lines with LF; the add-in's text with CR.
std::string IdeClipboard::text() const {
  return fromQString(QApplication::clipboard()->text());
}

void IdeClipboard::setText(const std::string& text) {
  QApplication::clipboard()->setText(toQString(text));
}

bool IdeClipboard::hasPicture() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasImage();
}

void IdeClipboard::setPicture(const Picture& picture) {
  QImage image(picture.width, picture.height, QImage::Format_ARGB32);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      image.setPixel(x, y,
                     picture.pixels[static_cast<std::size_t>(y * picture.width + x)]);
  QApplication::clipboard()->setImage(image);
}

void IdeClipboard::clear() { QApplication::clipboard()->clear(); }

IdeVBE::IdeVBE(IdeWindows& windows, IdeCommandBars& bars)
    : windows_(windows), bars_(bars) {}

IdeVBE::~IdeVBE() = default;

void IdeVBE::setActiveVBProject(VBProject* project) {
  if (project == active_) return;
  active_ = project;
  if (project) events_.projectActivated(project);
}

std::vector<VBProject*> IdeVBE::VBProjects() const {
  std::vector<VBProject*> result;
  for (const auto& project : projects_) result.push_back(project.get());
  return result;
}

CodePane* IdeVBE::ActiveCodePane() const {
  IdeCodeModule* module = windows_.activeCodeModule();
  return module ? module->CodePane() : nullptr;
}

void IdeVBE::setActiveCodePane(CodePane* pane) {
  if (!pane) return;
  auto* module = dynamic_cast<IdeCodeModule*>(pane->CodeModule());
  if (!module) throw HostError(5, "Invalid procedure call or argument");
  windows_.showCodeModule(*module);
  setActiveVBProject(projectOf(*module));
}

void IdeVBE::adopt(const std::string& path, std::unique_ptr<DiskVBE> disk) {
  close();
  disk_ = std::move(disk);
  path_ = path;
  for (const auto& project : disk_->projects())
    projects_.push_back(std::make_unique<IdeVBProject>(*project));
  for (const auto& project : projects_) {
    if (&project->disk() == disk_->ActiveVBProject()) active_ = project.get();
  }
  if (!active_ && !projects_.empty()) active_ = projects_.front().get();
  for (const auto& project : projects_) events_.projectAdded(project.get());
  if (active_) events_.projectActivated(active_);
}

void IdeVBE::close() {
  active_ = nullptr;
  projects_.clear();
  disk_.reset();
  path_.clear();
}

const std::vector<std::string>& IdeVBE::loadMessages() const {
  static const std::vector<std::string> none;
  return disk_ ? disk_->loadMessages : none;
}

IdeVBProject* IdeVBE::projectOf(const IdeCodeModule& module) const {
  for (const auto& project : projects_)
    for (const auto& component : project->components())
      if (component->ideCodeModule() == &module) return project.get();
  return nullptr;
}

bool IdeVBE::changed() const {
  for (const auto& project : projects_)
    if (project->changed()) return true;
  return false;
}

std::vector<std::string> IdeVBE::save(IdeVBProject* project) {
  std::vector<std::string> errors;
  for (const auto& each : projects_)
    if (!project || each.get() == project) each->save(errors);
  return errors;
}

}  // namespace scrivlet
