// What the self-test program and its tests agree on.
#pragma once

#include <windows.h>

namespace selftest {

inline constexpr const wchar_t* kWindowClass = L"MorvaneSelfTest";
inline constexpr const wchar_t* kTitle = L"自测窗口";

enum Control : int {
    kLine = 101,       // single-line edit
    kShowError = 102,  // task-modal error box
    kNotes = 103,      // multi-line edit
    kCopy = 104,       // line -> clipboard
    kSave = 105,       // save dialog
    kStatus = 106,     // the last thing that happened
    kPad = 107,        // reports mouse buttons
    kAsk = 108,        // owned question box
    kShowPlain = 109,  // task-modal box without icon
};

enum Command : int {
    kMenuSave = 201,   // Ctrl+S
    kMenuExit = 202,   // F12
    kMenuCopy = 203,   // Ctrl+Shift+C
    kMenuClose = 204,  // Esc
};

inline constexpr int kExitCodeF12 = 12;
inline constexpr COLORREF kPadColour = RGB(0x20, 0x80, 0xC0);

}  // namespace selftest
