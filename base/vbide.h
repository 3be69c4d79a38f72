// The development environment's object model, as Scrivlet sees it.
//
// Everything Scrivlet reads from or writes into a project goes through these
// interfaces. The disk host (platform/) implements them over project files;
// the desktop host wraps the disk host and adds what only a window has.
//
// Conventions kept from the environment:
// - lines are 1-based visible lines (no file header, no attribute lines);
// - `Lines(start, count)` joins several lines with CR LF, as the environment
//   does; text handed to `InsertLines` may break lines with CR LF, CR or LF;
// - a failing call throws `HostError` with the environment's error number
//   (35 "Sub or Function not defined" for a missing procedure kind). The
//   error never leaves the core: callers catch it and skip the element.
//   It is the one exception that may pass between the desktop host and the
//   add-in library, which are built together: its type is exported from
//   the library, so that both sides see the same type.
//
// Threading: a host's objects are called on the thread the host gives them
// to the add-in on (the desktop host's user-interface thread), and only
// there, except where `CodeModule::readableFromAnyThread` says otherwise.
// Event handlers the add-in sets are called on that thread too.
#ifndef SCRIVLET_BASE_VBIDE_H_
#define SCRIVLET_BASE_VBIDE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace scrivlet {

class CodeModule;
class CodePane;
class CommandBarControl;
class Window;
class Member;
class VBComponent;
class VBProject;

struct __attribute__((visibility("default"))) HostError : std::runtime_error {
  HostError(int errorNumber, const std::string& text)
      : std::runtime_error(text), number(errorNumber) {}
  int number;
};

// Component kinds (`VBComponent::Type`).
enum ComponentType {
  vbext_ct_StdModule = 1,
  vbext_ct_ClassModule = 2,
  vbext_ct_MSForm = 3,
  vbext_ct_ResFile = 4,
  vbext_ct_VBForm = 5,
  vbext_ct_VBMDIForm = 6,
  vbext_ct_PropPage = 7,
  vbext_ct_UserControl = 8,
  vbext_ct_DocObject = 9,
  vbext_ct_RelatedDocument = 10,
  vbext_ct_ActiveXDesigner = 11,
};

// Member kinds (`Member::Type`).
enum MemberType {
  vbext_mt_Method = 1,
  vbext_mt_Property = 2,
  vbext_mt_Variable = 3,
  vbext_mt_Event = 4,
  vbext_mt_Const = 5,
};

// Member scopes (`Member::Scope`).
enum MemberScope {
  vbext_Private = 1,
  vbext_Public = 2,
  vbext_Friend = 3,
};

// Procedure kinds of `ProcOfLine`, `ProcBodyLine`, ...
enum ProcKind {
  vbext_pk_Proc = 0,
  vbext_pk_Let = 1,
  vbext_pk_Set = 2,
  vbext_pk_Get = 3,
};

class Member {
 public:
  virtual ~Member() = default;
  virtual std::string Name() const = 0;
  virtual int Type() const = 0;
  virtual int Scope() const = 0;
  // The logical line of the declaration: a statement continued with " _"
  // counts as one line.
  virtual long CodeLocation() const = 0;
  virtual std::string Description() const = 0;
  virtual void setDescription(const std::string& text) = 0;
  virtual long HelpContextID() const = 0;
  virtual void setHelpContextID(long id) = 0;
  // `Member.Collection.Parent`: the code module that holds the member.
  virtual scrivlet::CodeModule* Parent() const = 0;
};

class CodeModule {
 public:
  virtual ~CodeModule() = default;
  virtual std::string Name() const = 0;
  virtual VBComponent* Parent() const = 0;

  virtual std::string Lines(long start, long count) const = 0;
  virtual long CountOfLines() const = 0;
  virtual long CountOfDeclarationLines() const = 0;

  // Name of the procedure holding `line`, its kind in `kind`; the empty name
  // and kind 0 in the declarations section.
  virtual std::string ProcOfLine(long line, int& kind) const = 0;
  virtual long ProcBodyLine(const std::string& name, int kind) const = 0;
  // The same, but 0 when the module has no such procedure, where
  // ProcBodyLine raises an error: a loader asks for every kind of every
  // property, and most properties lack some.
  virtual long procBodyLineIfAny(const std::string& name, int kind) const {
    try {
      return ProcBodyLine(name, kind);
    } catch (const HostError&) {
      return 0;
    }
  }
  virtual long ProcStartLine(const std::string& name, int kind) const = 0;
  virtual long ProcCountLines(const std::string& name, int kind) const = 0;

  virtual void InsertLines(long line, const std::string& text) = 0;
  virtual void DeleteLines(long start, long count = 1) = 0;

  // In declaration order. A member object stays valid as long as its module.
  virtual std::vector<std::shared_ptr<Member>> Members() const = 0;
  virtual scrivlet::CodePane* CodePane() = 0;

  // The lines that end in " _" (continued in the next line), ascending,
  // when the module keeps them at hand; none when it does not, and callers
  // then read the lines themselves. Turning a logical line into a physical
  // one reads every line above it, so without this a large module takes
  // time in proportion to the square of its length.
  virtual const std::vector<long>* continuedLines() const { return nullptr; }
  // The line of the module's file that shows as `visibleLine`, for messages
  // that name a place as an editor of the file shows it; hosts that hide
  // nothing answer the line itself.
  virtual long fileLine(long visibleLine) const { return visibleLine; }
  // Whether the module may be read (Lines, Members, ProcOfLine, ...) from
  // a thread other than the host's own while nothing writes to it. The
  // disk host's modules may; those of a host whose code windows the user
  // is editing may not, and project loading then reads on one thread.
  virtual bool readableFromAnyThread() const { return false; }
};

class CodePane {
 public:
  virtual ~CodePane() = default;
  virtual void GetSelection(long& startLine, long& startColumn, long& endLine,
                            long& endColumn) const = 0;
  virtual void SetSelection(long startLine, long startColumn, long endLine,
                            long endColumn) = 0;
  virtual long TopLine() const = 0;
  virtual void setTopLine(long line) = 0;
  virtual scrivlet::CodeModule* CodeModule() const = 0;
  // The code window that shows the pane; none in a host without windows.
  virtual scrivlet::Window* Window() const { return nullptr; }
};

class VBComponent {
 public:
  virtual ~VBComponent() = default;
  virtual std::string Name() const = 0;
  virtual int Type() const = 0;
  // None for resource files, related documents and unreadable files.
  virtual scrivlet::CodeModule* CodeModule() const = 0;
  virtual std::string Description() const = 0;
  virtual void setDescription(const std::string& text) = 0;
  virtual long HelpContextID() const = 0;
  virtual void setHelpContextID(long id) = 0;
  // The component's file (the environment's FileNames(1)); empty when it
  // has none.
  virtual std::string FileName() const { return {}; }
};

class VBProject {
 public:
  virtual ~VBProject() = default;
  virtual std::string Name() const = 0;
  // Full path of the project file.
  virtual std::string FileName() const = 0;
  virtual std::vector<VBComponent*> VBComponents() const = 0;
  virtual std::string HelpFile() const = 0;
  virtual void setHelpFile(const std::string& path) = 0;
  virtual std::string Description() const = 0;
  virtual long HelpContextID() const = 0;
};

// A picture for a button face or the clipboard: `width` x `height` pixels,
// row by row from the top, each 0xAARRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The control types `CommandBarControls::Add` creates.
enum ControlType { msoControlButton = 1 };

// A menu item or button of a command bar.
class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual std::string Caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual std::string TooltipText() const = 0;
  virtual void setTooltipText(const std::string& text) = 0;
  // Takes the picture on the clipboard as the control's face; HostError
  // when the clipboard holds none.
  virtual void PasteFace() = 0;
  // Removes the control from its bar. The object is gone afterwards.
  virtual void Delete() = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual long Count() const = 0;
  // The control at `index`, 1-based; HostError outside 1..Count.
  virtual CommandBarControl* Item(long index) const = 0;
  // Adds a control of `type`: appended, or inserted before the control at
  // position `before` (1-based) when it is not 0.
  virtual CommandBarControl* Add(int type, long before = 0) = 0;
};

// A menu, toolbar or pop-up menu: "Add-Ins", "Standard", "Code Window".
class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::string Name() const = 0;
  virtual CommandBarControls& Controls() = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual long Count() const = 0;
  // By position, 1-based; none outside 1..Count.
  virtual CommandBar* Item(long index) const = 0;
  // By name; none when no bar has it.
  virtual CommandBar* Item(const std::string& name) const = 0;
};

// The click events of one control. The host calls `Click` when the
// control is chosen, if it is set; the add-in sets it and clears it again
// before it goes.
class CommandBarEvents {
 public:
  virtual ~CommandBarEvents() = default;
  std::function<void(CommandBarControl* control, bool& handled,
                     bool& cancelDefault)>
      Click;
};

// A project was made the active one, or added (opened).
class VBProjectsEvents {
 public:
  virtual ~VBProjectsEvents() = default;
  std::function<void(VBProject* project)> ItemActivated;
  std::function<void(VBProject* project)> ItemAdded;
};

class Events {
 public:
  virtual ~Events() = default;
  // The event source of `control`, the same object for the same control.
  virtual scrivlet::CommandBarEvents* CommandBarEvents(
      CommandBarControl* control) = 0;
  virtual scrivlet::VBProjectsEvents* VBProjectsEvents() = 0;
};

// A window of the environment: a code window, the project explorer, ...
class Window {
 public:
  virtual ~Window() = default;
  virtual std::string Caption() const = 0;
  virtual void SetFocus() = 0;
  virtual void Close() = 0;
};

// The environment's main window. `SystemColorsChanged` stands for the
// message a window procedure sees when the system colours change.
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // The colour of button faces, 0xRRGGBB.
  virtual std::uint32_t buttonFaceColor() const = 0;
  std::function<void()> SystemColorsChanged;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual bool hasText() const = 0;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
  virtual bool hasPicture() const = 0;
  virtual void setPicture(const Picture& picture) = 0;
  virtual void clear() = 0;
};

class VBE {
 public:
  virtual ~VBE() = default;
  virtual VBProject* ActiveVBProject() const = 0;
  virtual void setActiveVBProject(VBProject* project) = 0;
  virtual std::vector<VBProject*> VBProjects() const = 0;
  // The code window with the caret; none when no code window is open.
  virtual scrivlet::CodePane* ActiveCodePane() const = 0;

  // What only an environment with windows has. A host without them (the
  // disk host) answers none, and setting the active code pane then does
  // nothing.
  virtual void setActiveCodePane(scrivlet::CodePane* /*pane*/) {}
  virtual scrivlet::CommandBars* CommandBars() const { return nullptr; }
  virtual scrivlet::Events* Events() const { return nullptr; }
  virtual scrivlet::MainWindow* MainWindow() const { return nullptr; }
  // The open windows, and the one with the focus.
  virtual std::vector<scrivlet::Window*> Windows() const { return {}; }
  virtual scrivlet::Window* ActiveWindow() const { return nullptr; }
  virtual scrivlet::Clipboard* Clipboard() const { return nullptr; }
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_VBIDE_H_
