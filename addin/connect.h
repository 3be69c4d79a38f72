// The add-in's connection to the environment: its five commands (the
// Add-Ins menu item, the Standard toolbar button and three items of the
// code window's pop-up menu), the project events that keep the settings
// with the active project, and the main dialog with the compile it asks
// for.
#ifndef SCRIVLET_ADDIN_CONNECT_H_
#define SCRIVLET_ADDIN_CONNECT_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "addin/addin_windows.h"
#include "base/addin_connection.h"
#include "base/file_system.h"
#include "base/progress.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"

namespace scrivlet {

// One of the five commands: where it goes, what it shows, and what the
// user is told when it cannot be made.
struct AddinCommand {
  const char* bar;  // "Add-Ins", "Code Window" or "Standard"
  const char* caption;
  const char* tooltip;  // none for the Add-Ins item
  int image;
  const char* errorText;
};
enum CommandIndex : int {
  commandMain,
  commandInsertComment,
  commandEditor,
  commandCopy,
  commandToolbar,
  commandCount,
};
// In the order they are created.
const std::array<AddinCommand, commandCount>& addinCommands();

inline constexpr char commentEditorTitle[] = "Comment editor";
inline constexpr char commentEditorSelectionText[] =
    "Cannot run comment editor when source code selection is made. Please "
    "cancel your text selection.";
inline constexpr char notAvailableText[] =
    "This window is not available yet in this version of Scrivlet.";

class connect : public AddinConnection {
 public:
  // `files` holds the per-user preferences at `preferencesPath` and the
  // projects' settings files; `addinFolder` is where the shipped templates
  // are. All must outlive the connection.
  connect(AddinWindows& windows, FileSystem& files, std::string preferencesPath,
          std::string addinFolder);
  // Lets go of every handler still set, should the host not have
  // disconnected first.
  ~connect() override;
  connect(const connect&) = delete;
  connect& operator=(const connect&) = delete;

  void OnConnection(VBE& application, int connectMode) override;
  void OnDisconnection(int removeMode) override;

  // Opens the main dialog and, when it asked for one, runs the compile of
  // the active project or of every project of the group.
  void Show();
  void Hide();

  // Each adds its command with `sCaption` and answers the control, or none
  // when the control could not be made. A control whose face could not be
  // set is kept.
  CommandBarControl* AddToAddInCommandBar(const std::string& sCaption);
  CommandBarControl* AddToCodeWindowCommandBar(const std::string& sCaption);
  CommandBarControl* AddToCodeWindowCommandBarEDITOR(const std::string& sCaption);
  CommandBarControl* AddToCodeWindowCommandBarCOPY(const std::string& sCaption);
  CommandBarControl* AddToStandardToolbar(const std::string& sCaption);

  // The code-window commands, on the active code pane's caret or selection.
  void insertCommentAtCaret();
  void openCommentEditor();
  void copySelectionAsCode();

  // The stand-in of the main window's window procedure: the system colours
  // changed.
  void systemColorsChanged();
  void reloadProjectSettings();

  bool FormDisplayed = false;
  VBE* VBInstance = nullptr;
  bool startCompile = false;
  CommandBarEvents* MenuHandler = nullptr;
  CommandBarEvents* CodeMenuHandler = nullptr;
  CommandBarEvents* CodeMenuHandlerEditor = nullptr;
  CommandBarEvents* CodeMenuHandlerCopy = nullptr;
  CommandBarEvents* ToolbarHandler = nullptr;
  VBProjectsEvents* ProjectHandler = nullptr;

  // The add-in's one settings record, always the active project's, and its
  // reporting state.
  ProjectSettings settings;
  Progress progress;

  AddinWindows& windows() { return windows_; }
  FileServices& fileServices() { return services_; }
  const std::string& addinFolder() const { return addinFolder_; }
  // The control of a command, none when it is not there.
  CommandBarControl* control(int command) const {
    return controls_[static_cast<std::size_t>(command)];
  }

 private:
  CommandBarControl* addCommand(int command, const std::string& caption);
  void setFace(CommandBarControl& control, int image, bool keepText);
  void createCommands();
  CommandBarEvents*& handlerOf(int command);
  void onClick(int command);
  void hookMainWindow();
  void unhookMainWindow();
  void removeCommands();
  void compileGroup();
  void showMessage(const std::string& text);

  AddinWindows& windows_;
  FileSystem& files_;
  FileServices services_;
  std::string preferencesPath_;
  std::string addinFolder_;
  std::uint32_t faceColor_ = 0xFFFFFF;
  std::array<CommandBarControl*, commandCount> controls_{};
  // What the main window did on a colour change before the add-in came.
  std::function<void()> previousColorsHandler_;
  bool hooked_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_CONNECT_H_
