// Non-owning, one-line wrappers around the standard controls.  They hold a
// window handle and nothing else; the window owns the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "convert/gbk_text.h"

namespace morvane::win32 {

// Text of any window, read and written as GBK through code page 936.
GbkText windowText(HWND hwnd);
void setWindowText(HWND hwnd, const GbkText& text);

class Window {
public:
    explicit Window(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    HWND hwnd() const { return hwnd_; }
    GbkText text() const { return windowText(hwnd_); }
    void setText(const GbkText& text) const { setWindowText(hwnd_, text); }
    void show(bool visible) const { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
    void setFont(HFONT font) const { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

protected:
    HWND hwnd_;
};

class Edit : public Window {
public:
    using Window::Window;
    void setUnlimited() const { SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0); }
    void setReadOnly(bool readOnly) const { SendMessageW(hwnd_, EM_SETREADONLY, readOnly, 0); }
};

class Tab : public Window {
public:
    using Window::Window;
    int currentPage() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }
    void addPage(int index, const GbkText& title) const;
};

}  // namespace morvane::win32
