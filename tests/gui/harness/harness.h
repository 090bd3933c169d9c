// Drives a real Windows program the way a person does: starts it, finds its
// windows and controls, clicks and types with real input (SendInput), reads
// what it shows, answers its message boxes and file dialogs, reads the
// clipboard and takes screenshots.
//
// Conventions:
//  - Nothing sleeps for a fixed time.  After input a test waits on a
//    condition: waitUntil(), waitForText(), waitForMessageBox() ...
//  - A step that cannot go on (a window that never appears, a control that
//    is not there, a click on a hidden control, a timeout) throws
//    morvane::gui::Failure.  GoogleTest reports it as a failure of the test,
//    with the caller's file and line in the message, and the test stops.
//  - Input goes where a person's would: to the foreground window.  Every
//    input function first brings the target's top-level window to the
//    foreground, and the keyboard ones also wait until the focus is on the
//    target; they never move the focus themselves (focus() or a click does).
//  - Strings are UTF-16; utf8() makes them readable in failure messages.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <source_location>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::gui {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;
using Where = std::source_location;

// Long enough for a loaded machine; waits end as soon as the condition holds.
inline constexpr Duration kTimeout = 10s;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws Failure with "file:line: message".
[[noreturn]] void fail(std::string_view message, Where where = Where::current());

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view utf8Text);

// ---- Settings given by the test runner ---------------------------------

// The program under test (a Windows path), from --morvane-program.  Empty
// when the test names none.
const std::wstring& programPath();
// Where screenshots go (--morvane-screenshots); the current directory when
// none is given.
const std::wstring& screenshotFolder();
// "/a/b" -> "Z:\a\b"; Windows paths are returned as they are.
std::wstring windowsPath(std::wstring_view path);

// ---- Waiting -------------------------------------------------------------

// Polls every few milliseconds until `condition` holds; on timeout throws
// Failure "timed out after N ms waiting for <what>".
void waitUntil(const std::function<bool()>& condition, std::string_view what, Duration timeout = kTimeout,
               Where where = Where::current());
// The same without failing: whether `condition` held within `timeout`.
// Also the way to check that something does NOT happen within a while.
bool eventually(const std::function<bool()>& condition, Duration timeout = kTimeout);
// Waits until the window's text is `expected`; the failure shows the last text seen.
void waitForText(HWND window, std::wstring_view expected, Duration timeout = kTimeout, Where where = Where::current());

// ---- The program ---------------------------------------------------------

// A running program.  The destructor kills it if it is still running, so a
// failing test never leaves a process behind.
class Program {
public:
    // `workingDirectory` empty: the program's own directory.
    explicit Program(std::wstring path, std::wstring arguments = {}, std::wstring workingDirectory = {},
                     Where where = Where::current());
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_; }
    bool running() const;

    // Visible top-level windows of the program, in Z order (topmost first).
    std::vector<HWND> topWindows() const;
    // Waits for a visible top-level window of the given class.
    HWND waitForWindow(std::wstring_view className, Duration timeout = kTimeout, Where where = Where::current()) const;

    // Waits for the program to end and gives its exit code.
    DWORD waitForExit(Duration timeout = kTimeout, Where where = Where::current()) const;
    // The exit code, or nothing while the program runs.
    std::optional<DWORD> exitCode() const;
    void kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// ---- Finding windows -----------------------------------------------------

// Visible top-level windows of a process, in Z order; `className` filters.
std::vector<HWND> topWindowsOf(DWORD pid, std::wstring_view className = {});
// All descendants, nested children included, parents before their children.
std::vector<HWND> descendants(HWND parent);
// The descendant with this control id (GetDlgCtrlID), the shallowest if
// several have it; nullptr if none.
HWND tryFindControl(HWND parent, int id);
// The descendant of this class (case-insensitive) and exact text; nullptr if none.
HWND tryFindControl(HWND parent, std::wstring_view className, std::wstring_view text);
// The same, but a missing control is a Failure.
HWND findControl(HWND parent, int id, Where where = Where::current());
HWND findControl(HWND parent, std::wstring_view className, std::wstring_view text, Where where = Where::current());

// ---- Reading -------------------------------------------------------------

// WM_GETTEXT (via SendMessageTimeout, so a hung program fails instead of
// hanging the test).  For a top-level window this is its title.
std::wstring textOf(HWND window, Where where = Where::current());
std::wstring classOf(HWND window);
int controlId(HWND window);
RECT windowRect(HWND window);  // screen coordinates, frame included
RECT clientRect(HWND window);  // the client area, in screen coordinates
SIZE sizeOf(const RECT& rect);
POINT centreOf(HWND window);   // of the client area, screen coordinates
DWORD styleOf(HWND window);
DWORD exStyleOf(HWND window);
bool isVisible(HWND window);   // the window and all its parents visible
bool isEnabled(HWND window);
HWND ownerOf(HWND window);     // GW_OWNER
HWND rootOf(HWND window);      // its top-level window
// The window with the keyboard focus in the process's GUI thread (via
// GetGUIThreadInfo), nullptr if none.
HWND focusOf(DWORD pid);
HWND foregroundWindow();
// "Edit #101 \"text\"": for failure messages.
std::string describe(HWND window);

// ---- Reading from inside the program ------------------------------------
//
// Wine keeps menus and fonts in the process that made them, so these are
// read by a probe DLL that the harness loads into the program's GUI thread
// with a window hook (the program is not changed; see probe.h).

// One item of a menu, with its sub-menu.
struct MenuItem {
    std::wstring text;  // as the program set it, "&" and "\t<shortcut>" included; empty for a separator
    UINT id = 0;        // command id (0 for sub-menus)
    UINT type = 0;      // MFT_* (MFT_SEPARATOR ...)
    UINT state = 0;     // MFS_* (MFS_GRAYED, MFS_CHECKED ...)
    std::vector<MenuItem> items;
};
std::vector<MenuItem> menuBarOf(HWND window, Where where = Where::current());
// The items of the menu that a pop-up menu window (class #32768) shows.
std::vector<MenuItem> menuOf(HWND popupMenu, Where where = Where::current());
// A visible pop-up menu window of the process.  Keys for an open menu go to
// the program's foreground window: pressKey(mainWindow, VK_DOWN).
HWND waitForPopupMenu(DWORD pid, Duration timeout = kTimeout, Where where = Where::current());

// The font a window draws with (WM_GETFONT), as its LOGFONT says.
struct Font {
    LONG height = 0;   // lfHeight: negative is the character height
    LONG weight = 0;   // FW_NORMAL 400, FW_BOLD 700
    BYTE charset = 0;  // GB2312_CHARSET 134 ...
    bool italic = false;
    bool underline = false;
    bool defaultGuiFont = false;  // the stock DEFAULT_GUI_FONT
    bool systemFont = false;      // no font set: the window draws with the system font
    std::wstring face;
};
Font fontOf(HWND window, Where where = Where::current());

// ---- Input ---------------------------------------------------------------

enum Modifiers : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };
constexpr Modifiers operator|(Modifiers a, Modifiers b) { return Modifiers(unsigned(a) | unsigned(b)); }

enum class Button { Left, Right };

// How long input functions wait for the foreground, the focus or a clear
// target before they fail: 5 s, or less within the scope of an InputTimeout
// (for tests that expect input to be refused).
class InputTimeout {
public:
    explicit InputTimeout(Duration timeout);
    ~InputTimeout();
    InputTimeout(const InputTimeout&) = delete;
    InputTimeout& operator=(const InputTimeout&) = delete;

private:
    Duration previous_;
};

// Brings the window's top-level window to the foreground and waits until it is.
void activate(HWND window, Where where = Where::current());
// activate(), then gives `control` the keyboard focus and waits until it has
// it.  The program's own SetFocus does it, through the probe: a click would
// also press a button, and Tab depends on the tab order under test.
void focus(HWND control, Where where = Where::current());

// Typed with KEYEVENTF_UNICODE, so any character works (Chinese included);
// "\n" and "\r\n" are the Enter key, "\t" the Tab key.  `target` is the
// window that must have the focus (a top-level window: anything in it).
void typeText(HWND target, std::wstring_view text, Where where = Where::current());
// A key with modifiers: pressKey(edit, 'S', kCtrl), pressKey(window, VK_F12),
// pressKey(window, VK_TAB, kShift), pressKey(button, VK_SPACE).
void pressKey(HWND target, WORD virtualKey, Modifiers modifiers = kNoModifier, Where where = Where::current());

// A real click at the centre of the control.  Fails when something else
// would get it (the control hidden, covered or outside the screen).  A
// control of a disabled window (behind a modal box) is clicked where it is,
// without bringing its window to the front.
void click(HWND control, Where where = Where::current());
void rightClick(HWND control, Where where = Where::current());
// Low-level mouse at a screen point; no foreground handling.
void moveTo(POINT screen, Where where = Where::current());
void mouseDown(POINT screen, Button button = Button::Left, Where where = Where::current());
void mouseUp(POINT screen, Button button = Button::Left, Where where = Where::current());

// ---- Message boxes -------------------------------------------------------

enum class Icon { None, Error, Warning, Question, Information, Other };
const char* nameOf(Icon icon);
std::ostream& operator<<(std::ostream& out, Icon icon);  // so that EXPECT_EQ shows the name

struct MessageDialog {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;       // the static with id 0xFFFF
    Icon icon = Icon::None;  // read from the pixels of its icon: see the README
    HWND owner = nullptr;    // nullptr for a box without owner
    struct Choice {
        int id;
        std::wstring text;
    };
    std::vector<Choice> buttons;  // IDOK, IDYES, ... with their captions

    // A real click on the button with this id.
    void clickButton(int id, Where where = Where::current()) const;
    // The Enter key: the default button.
    void pressEnter(Where where = Where::current()) const;
    // Without input: posts WM_COMMAND id.  For a box that is not in front.
    void post(int id) const;
};

// A message box of the process: a #32770 window with a text static of id
// 0xFFFF and an icon static, and no file name field.  When several are
// open, the enabled one: the one in front.
MessageDialog waitForMessageBox(DWORD pid, Duration timeout = kTimeout, Where where = Where::current());
void waitForNoMessageBox(DWORD pid, Duration timeout = kTimeout, Where where = Where::current());

// ---- File dialogs (Wine's common open/save dialog) ------------------------

struct FileDialog {
    HWND window = nullptr;
    HWND nameField = nullptr;  // edt1, or the edit of cmb13
    std::wstring title;

    // The name in its name field (the proposed name until something is typed).
    std::wstring fileName(Where where = Where::current()) const;
    // Replaces the name by typing, as a person would: select all, type.
    // A full path works too.
    void typeFileName(std::wstring_view name, Where where = Where::current()) const;
    // A real click on Save/Open (IDOK) or Cancel (IDCANCEL).
    void accept(Where where = Where::current()) const;
    void cancel(Where where = Where::current()) const;
};

FileDialog waitForFileDialog(DWORD pid, Duration timeout = kTimeout, Where where = Where::current());
void waitForNoFileDialog(DWORD pid, Duration timeout = kTimeout, Where where = Where::current());

// ---- Clipboard -----------------------------------------------------------

// The whole data block of a format, byte for byte (for CF_TEXT: the bytes
// and the terminating zero as the program put them); nothing if absent.
// Opening is retried, since the program may hold the clipboard briefly.
std::optional<std::string> clipboardBytes(UINT format, Where where = Where::current());
// CF_UNICODETEXT up to its terminating zero; nothing if absent.
std::optional<std::wstring> clipboardUnicodeText(Where where = Where::current());
// The formats on the clipboard, in the order EnumClipboardFormats gives them.
std::vector<UINT> clipboardFormats(Where where = Where::current());
void emptyClipboard(Where where = Where::current());

// ---- Pictures ------------------------------------------------------------

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom

    COLORREF at(int x, int y) const;  // as RGB()
};

// What the screen shows in the window's rectangle (nullptr: the whole screen),
// other windows in front included, as a person would see it.
Image capture(HWND window = nullptr, Where where = Where::current());
// What the screen shows in a rectangle of screen coordinates.
Image captureRect(const RECT& screen, Where where = Where::current());
// The colour at a point of the window's client area, from the screen.
COLORREF pixelAt(HWND window, POINT client, Where where = Where::current());
// PNG through WIC.
void savePng(const Image& image, const std::wstring& path, Where where = Where::current());
// Saves capture(window) as "<folder>\<Suite>.<Test>[-label].png" and
// returns the path.  A failing test saves "<Suite>.<Test>-failure.png" by itself.
std::wstring saveScreenshot(HWND window = nullptr, std::wstring_view label = {}, Where where = Where::current());
std::wstring saveScreenshot(const Image& image, std::wstring_view label = {}, Where where = Where::current());

}  // namespace morvane::gui
