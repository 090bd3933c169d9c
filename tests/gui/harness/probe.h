// What the harness and its probe DLL agree on.  The probe runs inside the
// program under test, on its GUI thread, loaded there by a WH_CALLWNDPROC
// hook: Wine keeps menus and GDI objects in the process that made them, and
// SetFocus works only on the caller's own thread, so these few things can
// only be done from inside.  The program itself is not changed.
#pragma once

#include <windows.h>

#include <string>

namespace morvane::gui::probe {

// Sent to a window of the program's GUI thread: wParam is the request,
// lParam the window it is about.
inline constexpr const wchar_t* kMessage = L"MorvaneGuiProbe";
inline constexpr const char* kHookName = "morvaneProbeHook";

enum Request : WPARAM {
    kMenuBar = 1,  // the menu bar of the window
    kFont = 2,     // the font of the window (WM_GETFONT)
    kFocus = 3,    // SetFocus(window)
    kPopupMenu = 4,  // the menu that a pop-up menu window (#32768) shows
};

// The answer, in shared memory named after the program's process id.
struct Answer {
    LONG done;     // set by the probe when it has answered
    LONG ok;
    wchar_t text[32000];
};

inline std::wstring answerName(DWORD pid) {
    return L"Local\\MorvaneGuiProbe." + std::to_wstring(pid);
}

// Fields and records of a text answer.
inline constexpr wchar_t kField = L'\x1F';
inline constexpr wchar_t kRecord = L'\x1E';

}  // namespace morvane::gui::probe
