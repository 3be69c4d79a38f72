#include "addin/connect.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

#include "addin/settings_file.h"
#include "comments/code_example.h"
#include "comments/comment_generator.h"

namespace scrivlet {
namespace {

constexpr char defaultTitle[] = "Scrivlet";

// Event handlers run inside the host's own event dispatch: nothing may
// escape them.
template <typename F>
void guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

bool isEmptySelection(long startLine, long startColumn, long endLine,
                      long endColumn) {
  return startLine == endLine && startColumn == endColumn;
}

}  // namespace

const std::array<AddinCommand, commandCount>& addinCommands() {
  static const std::array<AddinCommand, commandCount> commands{{
      {"Add-Ins", "Scrivlet", nullptr, faceMain,
       "Cannot create Scrivlet item in Add-Ins menu."},
      {"Code Window", "Add Scrivlet Comment",
       "Insert Scrivlet comment directly into source code", faceInsertComment,
       "Cannot create 'Add Scrivlet Comment' item in code window pop-up menu."},
      {"Code Window", "Comment Editor",
       "Start Comment editor for selected element", faceCommentEditor,
       "Cannot create 'Comment editor' item in code window pop-up menu."},
      {"Code Window", "Copy Selection as Code",
       "Copy selected lines to clipboard as code example", faceCopyAsCode,
       "Cannot create 'Copy as Code' item in code window pop-up menu."},
      {"Standard", "Scrivlet", "Scrivlet", faceMain,
       "Cannot create Scrivlet item in Standard toolbar."},
  }};
  return commands;
}

connect::connect(AddinWindows& windows, FileSystem& files,
                 std::string preferencesPath, std::string addinFolder)
    : windows_(windows),
      files_(files),
      services_{files, windows.messageBox(), progress},
      preferencesPath_(std::move(preferencesPath)),
      addinFolder_(std::move(addinFolder)) {}

connect::~connect() {
  // The handlers point at this object; leaving them set would have the
  // host call into freed memory.
  guarded([&] { unhookMainWindow(); });
  for (int command = 0; command < commandCount; ++command) {
    if (CommandBarEvents* events = handlerOf(command)) events->Click = nullptr;
  }
  if (ProjectHandler) {
    ProjectHandler->ItemActivated = nullptr;
    ProjectHandler->ItemAdded = nullptr;
  }
  // The dialogs work on this object's settings and progress record.
  guarded([&] { windows_.unloadDialogs(); });
}

// --- Connection ---------------------------------------------------------

namespace {

// A command that could not be made, with what the user is told.
struct CommandNotCreated {
  std::string text;
};

}  // namespace

void connect::OnConnection(VBE& application, int connectMode) {
  VBInstance = &application;
  try {
    if (MainWindow* main = application.MainWindow())
      faceColor_ = main->buttonFaceColor() & 0xFFFFFF;
    reloadProjectSettings();
    if (connectMode == ext_cm_External) {
      Show();
    } else {
      createCommands();
      if (scrivlet::Events* events = application.Events()) {
        ProjectHandler = events->VBProjectsEvents();
        if (ProjectHandler) {
          ProjectHandler->ItemActivated = [this](VBProject*) {
            guarded([&] { reloadProjectSettings(); });
          };
          ProjectHandler->ItemAdded = ProjectHandler->ItemActivated;
        }
      }
    }
    hookMainWindow();
    if (connectMode == ext_cm_AfterStartup &&
        displayOnConnect(files_, preferencesPath_))
      Show();
  } catch (const CommandNotCreated& failure) {
    showMessage(failure.text);
  } catch (const std::exception& error) {
    showMessage(error.what());
  } catch (...) {
    showMessage("Unexpected error.");
  }
}

void connect::createCommands() {
  using Adder = CommandBarControl* (connect::*)(const std::string&);
  static constexpr std::array<Adder, commandCount> adders{
      &connect::AddToAddInCommandBar, &connect::AddToCodeWindowCommandBar,
      &connect::AddToCodeWindowCommandBarEDITOR,
      &connect::AddToCodeWindowCommandBarCOPY, &connect::AddToStandardToolbar};
  scrivlet::Events* events = VBInstance->Events();
  for (int command = 0; command < commandCount; ++command) {
    const AddinCommand& entry = addinCommands()[static_cast<std::size_t>(command)];
    CommandBarControl* control;
    try {
      control = (this->*adders[static_cast<std::size_t>(command)])(entry.caption);
    } catch (...) {
      control = nullptr;
    }
    if (!control) throw CommandNotCreated{entry.errorText};
    controls_[static_cast<std::size_t>(command)] = control;
    CommandBarEvents* source = nullptr;
    try {
      if (events) source = events->CommandBarEvents(control);
    } catch (...) {
    }
    if (!source) throw CommandNotCreated{entry.errorText};
    handlerOf(command) = source;
    source->Click = [this, command](CommandBarControl*, bool&, bool&) {
      guarded([&] { onClick(command); });
    };
  }
}

CommandBarEvents*& connect::handlerOf(int command) {
  switch (command) {
    case commandMain:
      return MenuHandler;
    case commandInsertComment:
      return CodeMenuHandler;
    case commandEditor:
      return CodeMenuHandlerEditor;
    case commandCopy:
      return CodeMenuHandlerCopy;
    default:
      return ToolbarHandler;
  }
}

void connect::onClick(int command) {
  switch (command) {
    case commandInsertComment:
      insertCommentAtCaret();
      break;
    case commandEditor:
      openCommentEditor();
      break;
    case commandCopy:
      copySelectionAsCode();
      break;
    default:
      Show();
  }
}

void connect::OnDisconnection(int /*removeMode*/) {
  guarded([&] { unhookMainWindow(); });
  guarded([&] { removeCommands(); });
  guarded([&] {
    bool wasDisplayed = FormDisplayed;
    FormDisplayed = false;
    setDisplayOnConnect(files_, preferencesPath_, wasDisplayed);
  });
  guarded([&] { windows_.unloadDialogs(); });
}

void connect::removeCommands() {
  for (int command = 0; command < commandCount; ++command) {
    CommandBarEvents*& events = handlerOf(command);
    if (events) events->Click = nullptr;
    events = nullptr;
    CommandBarControl*& control = controls_[static_cast<std::size_t>(command)];
    if (control) guarded([&] { control->Delete(); });
    control = nullptr;
  }
  if (ProjectHandler) {
    ProjectHandler->ItemActivated = nullptr;
    ProjectHandler->ItemAdded = nullptr;
    ProjectHandler = nullptr;
  }
}

void connect::reloadProjectSettings() {
  if (!VBInstance) return;
  SettingsFile(*VBInstance, services_, addinFolder_)
      .reloadProjectSettings(settings);
}

void connect::showMessage(const std::string& text) {
  guarded([&] {
    windows_.messageBox().show(defaultTitle, text, MessageButtons::OK,
                               MessageIcon::None);
  });
}

// --- Commands and their faces -------------------------------------------

CommandBarControl* connect::AddToAddInCommandBar(const std::string& sCaption) {
  return addCommand(commandMain, sCaption);
}
CommandBarControl* connect::AddToCodeWindowCommandBar(const std::string& sCaption) {
  return addCommand(commandInsertComment, sCaption);
}
CommandBarControl* connect::AddToCodeWindowCommandBarEDITOR(
    const std::string& sCaption) {
  return addCommand(commandEditor, sCaption);
}
CommandBarControl* connect::AddToCodeWindowCommandBarCOPY(
    const std::string& sCaption) {
  return addCommand(commandCopy, sCaption);
}
CommandBarControl* connect::AddToStandardToolbar(const std::string& sCaption) {
  return addCommand(commandToolbar, sCaption);
}

CommandBarControl* connect::addCommand(int command, const std::string& caption) {
  const AddinCommand& entry = addinCommands()[static_cast<std::size_t>(command)];
  CommandBars* bars = VBInstance ? VBInstance->CommandBars() : nullptr;
  if (!bars) return nullptr;
  CommandBar* bar = bars->Item(std::string(entry.bar));
  bool toolbar = command == commandToolbar;
  // Toolbars carry translated names in some environments; the standard
  // toolbar is always the second bar.
  if (!bar && toolbar) bar = bars->Item(2L);
  if (!bar) return nullptr;
  CommandBarControls& controls = bar->Controls();
  CommandBarControl* control =
      toolbar ? controls.Add(msoControlButton, controls.Count())
              : controls.Add(msoControlButton);
  if (!control) return nullptr;
  try {
    control->setCaption(caption);
    if (entry.tooltip) control->setTooltipText(entry.tooltip);
    setFace(*control, entry.image, true);
  } catch (...) {
  }
  return control;
}

// The face goes through the clipboard, the only way the environment takes
// one. The user's text on it is put back, even when pasting fails: losing
// what the user copied is worse than a button without a picture.
void connect::setFace(CommandBarControl& control, int image, bool clearFirst) {
  Clipboard* clipboard = VBInstance->Clipboard();
  if (!clipboard) return;
  std::string remembered;
  if (clipboard->hasText()) remembered = clipboard->text();
  struct Restore {
    Clipboard& clipboard;
    const std::string& text;
    bool clear;
    ~Restore() {
      guarded([&] {
        if (clear) clipboard.clear();
        if (!text.empty()) clipboard.setText(text);
      });
    }
  } restore{*clipboard, remembered, clearFirst};
  if (clearFirst) clipboard->clear();
  clipboard->setPicture(windows_.faceImage(image, faceColor_));
  control.PasteFace();
}

// --- The main window's colour change --------------------------------------

void connect::hookMainWindow() {
  MainWindow* main = VBInstance->MainWindow();
  if (!main || hooked_) return;
  previousColorsHandler_ = main->SystemColorsChanged;
  main->SystemColorsChanged = [this] {
    guarded([&] { systemColorsChanged(); });
    if (previousColorsHandler_) guarded(previousColorsHandler_);
  };
  hooked_ = true;
}

void connect::unhookMainWindow() {
  if (!hooked_) return;
  hooked_ = false;
  if (MainWindow* main = VBInstance->MainWindow())
    main->SystemColorsChanged = std::move(previousColorsHandler_);
  previousColorsHandler_ = nullptr;
}

void connect::systemColorsChanged() {
  MainWindow* main = VBInstance ? VBInstance->MainWindow() : nullptr;
  if (!main) return;
  std::uint32_t color = main->buttonFaceColor() & 0xFFFFFF;
  if (color == faceColor_) return;
  faceColor_ = color;
  // The faces that have white in them; the copy and editor images are drawn
  // without.
  for (int command : {commandMain, commandToolbar, commandInsertComment}) {
    CommandBarControl* control = controls_[static_cast<std::size_t>(command)];
    if (!control) continue;
    guarded([&] {
      setFace(*control, addinCommands()[static_cast<std::size_t>(command)].image,
              false);
    });
  }
}

// --- The main dialog and the compile --------------------------------------

void connect::Show() {
  FormDisplayed = true;
  startCompile = false;
  windows_.showMainDialog(*this);
  if (!startCompile) return;
  progress.groupLog.clear();
  if (!progress.compileGroup) {
    guarded([&] { windows_.showProgressDialog(*this); });
    return;
  }
  compileGroup();
}

void connect::Hide() {
  FormDisplayed = false;
  guarded([&] { windows_.hideMainDialog(); });
}

void connect::compileGroup() {
  std::vector<Window*> openBefore;
  Window* activeBefore = nullptr;
  guarded([&] {
    openBefore = VBInstance->Windows();
    activeBefore = VBInstance->ActiveWindow();
  });
  std::vector<VBProject*> projects;
  guarded([&] { projects = VBInstance->VBProjects(); });
  std::size_t counted = 0;
  for (VBProject* project : projects) {
    guarded([&] {
      std::vector<VBComponent*> components = project->VBComponents();
      if (components.empty()) return;
      scrivlet::CodeModule* module = components.front()->CodeModule();
      CodePane* pane = module ? module->CodePane() : nullptr;
      // A first component without a code window (a resource file) cannot
      // make its project active through a pane; the project is set directly.
      if (pane) VBInstance->setActiveCodePane(pane);
      if (VBInstance->ActiveVBProject() != project)
        VBInstance->setActiveVBProject(project);
      // The host's project event reloads the settings too; a host that
      // sends none must not compile this project with the last one's.
      reloadProjectSettings();
      ++counted;
      progress.lastProjectOfGroup = counted == projects.size();
      guarded([&] { windows_.showProgressDialog(*this); });
      Window* window = pane ? pane->Window() : nullptr;
      if (window && std::find(openBefore.begin(), openBefore.end(), window) ==
                        openBefore.end())
        window->Close();
    });
  }
  guarded([&] {
    if (activeBefore) activeBefore->SetFocus();
  });
  progress.groupLog.clear();
}

// --- Code-window commands -------------------------------------------------

void connect::insertCommentAtCaret() {
  CodePane* pane = VBInstance ? VBInstance->ActiveCodePane() : nullptr;
  if (!pane || !pane->CodeModule()) return;
  scrivlet::insertCommentAtCaret(*pane, settings);
}

void connect::openCommentEditor() {
  CodePane* pane = VBInstance ? VBInstance->ActiveCodePane() : nullptr;
  if (!pane) return;
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane->GetSelection(startLine, startColumn, endLine, endColumn);
  if (isEmptySelection(startLine, startColumn, endLine, endColumn)) {
    windows_.showCommentEditor(*this);
    return;
  }
  windows_.messageBox().show(commentEditorTitle, commentEditorSelectionText,
                             MessageButtons::OK, MessageIcon::Exclamation);
}

void connect::copySelectionAsCode() {
  CodePane* pane = VBInstance ? VBInstance->ActiveCodePane() : nullptr;
  Clipboard* clipboard = VBInstance ? VBInstance->Clipboard() : nullptr;
  if (!pane || !pane->CodeModule() || !clipboard) return;
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane->GetSelection(startLine, startColumn, endLine, endColumn);
  std::string text = scrivlet::copySelectionAsCode(
      *pane->CodeModule(), startLine, startColumn, endLine, endColumn);
  clipboard->clear();
  clipboard->setText(text);
}

}  // namespace scrivlet
