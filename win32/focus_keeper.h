// What a dialog does for its keyboard focus, for a plain window: when the
// window is activated again, the focus goes back to the control that had it,
// or at first to the window's first control.
#pragma once

#include <windows.h>

namespace morvane::win32 {

class FocusKeeper {
public:
    // For WM_ACTIVATE.  `first` is where the focus goes the first time.
    void onActivate(HWND window, WPARAM wParam, HWND first) {
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(window, focused)) last_ = focused;
        } else if (!HIWORD(wParam)) {  // not while minimised
            HWND target = last_ && IsWindow(last_) && IsWindowVisible(last_) ? last_ : first;
            if (target) SetFocus(target);
        }
    }

private:
    HWND last_ = nullptr;
};

}  // namespace morvane::win32
