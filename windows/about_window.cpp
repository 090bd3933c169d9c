#include "windows/about_window.h"

#include "app/message_loop.h"
#include "app/program.h"
#include "win32/fonts.h"
#include "win32/geometry.h"
#include "win32/labels.h"
#include "win32/text.h"

namespace morvane {

namespace {

constexpr wchar_t kClassName[] = L"MorvaneAboutWindow";
constexpr int kWidth = 370;
constexpr int kHeight = 142;
constexpr COLORREF kPink = RGB(255, 128, 192);
constexpr COLORREF kTextColour = RGB(144, 0, 255);

constexpr char kAboutText[] =
    "\r\n"
    "自己对着曲谱去写，然后在抄很累啊，有木有？\r\n"
    "所以方便你我他吧~~~！！\r\n"
    "\r\n"
    "\r\n"
    "紫禁之巅-长安城-Lestrio\r\n"
    "    欢迎大家找我一起玩！并且提出改进意见！";

}  // namespace

void AboutWindow::showModal(HWND owner) {
    AboutWindow about;
    // Dialog mode: no other window of the program takes input meanwhile.
    for (HWND window : programWindows()) {
        if (!GetWindow(window, GW_OWNER) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            about.disabled_.push_back(window);
        }
    }
    about.pink_ = CreateSolidBrush(kPink);
    registerClass(kClassName, nullptr, nullptr);
    const win32::ControlRect at = win32::centredWindow(kWidth, kHeight);
    if (about.create(kClassName, WS_POPUP, 0, at.x, at.y, at.width, at.height, owner, nullptr)) {
        ShowWindow(about.hwnd(), SW_SHOWNORMAL);
        SetFocus(GetDlgItem(about.hwnd(), static_cast<int>(AboutControl::按钮1)));
        runModalLoop([&] { return about.hwnd() != nullptr; });
    } else {
        about.close();
    }
}

AboutWindow::~AboutWindow() {
    if (pink_) DeleteObject(pink_);
}

void AboutWindow::createControls() {
    const HFONT guiFont = win32::defaultGuiFont();
    // Its own border and colours; the button covers its lower right corner.
    label_ = win32::createPlainLabel(hwnd(), static_cast<int>(AboutControl::标签1), win32::scaled({23, 19, 328, 104}),
                                     kAboutText,
                                     WS_BORDER | WS_CLIPSIBLINGS);
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    const win32::ControlRect button = win32::scaled({269, 88, 80, 32});
    HWND close = CreateWindowExW(0, L"BUTTON", win32::toWide("关闭").c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, button.x, button.y,
                                 button.width, button.height, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(AboutControl::按钮1)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    SetWindowPos(close, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void AboutWindow::close() {
    // Enable the others first, so that the owner becomes active again.
    for (HWND window : disabled_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    disabled_.clear();
    if (hwnd()) DestroyWindow(hwnd());
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        windowOpened(hwnd());
        win32::keepOwnColours(hwnd());
        createControls();
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, pink_);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == label_) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kTextColour);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_CTLCOLORBTN:
        // The corners of the rounded button show the panel's pink.
        return reinterpret_cast<LRESULT>(pink_);
    case WM_COMMAND:
        if (LOWORD(wParam) == static_cast<int>(AboutControl::按钮1) && HIWORD(wParam) == BN_CLICKED) close();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_NCDESTROY:
        windowClosed(hwnd());
        return 0;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace morvane
