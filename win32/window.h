// One C++ object per top-level window, with a HandleMessage switch.
#pragma once

#include <windows.h>

namespace morvane::win32 {

// Registers a window class of this executable once; later calls do nothing.
inline void registerWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon = nullptr,
                                HBRUSH background = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hbrBackground = background;
    RegisterClassExW(&wc);
}

template <class Derived>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow() = default;

    HWND hwnd() const { return hwnd_; }

protected:
    static void registerClass(const wchar_t* className, HICON icon, HBRUSH background) {
        registerWindowClass(className, &BaseWindow::WindowProc, icon, background);
    }

    bool create(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                HWND owner, HMENU menu) {
        CreateWindowExW(exStyle, className, L"", style, x, y, width, height, owner, menu,
                        GetModuleHandleW(nullptr), this);
        return hwnd_ != nullptr;
    }

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        BaseWindow* self = nullptr;
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<BaseWindow*>(create->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace morvane::win32
