#include "windows/help_window.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/program.h"
#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/geometry.h"
#include "win32/labels.h"
#include "win32/picture.h"
#include "win32/text.h"

namespace morvane {

namespace {

constexpr wchar_t kClassName[] = L"MorvaneHelpWindow";

std::unique_ptr<HelpWindow>& instance() {
    static std::unique_ptr<HelpWindow> window;
    return window;
}

HFONT createSongFont(int height) {
    return CreateFontW(-win32::scaled(height), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

std::vector<GbkText> splitPages(const char* text) {
    std::vector<GbkText> pages;
    std::string all = text;
    std::size_t from = 0;
    for (;;) {
        const auto bar = all.find('|', from);
        pages.emplace_back(std::string_view(all).substr(from, bar == std::string::npos ? bar : bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    return pages;
}

}  // namespace

void HelpWindow::open() {
    auto& window = instance();
    if (window && window->hwnd()) {
        if (IsIconic(window->hwnd())) ShowWindow(window->hwnd(), SW_RESTORE);
        else SetForegroundWindow(window->hwnd());
        return;
    }
    window = std::make_unique<HelpWindow>();
    if (!window->create()) {
        window.reset();
        return;
    }
    ShowWindow(window->hwnd(), SW_SHOWNORMAL);
}

HelpWindow::~HelpWindow() {
    if (bold19_) DeleteObject(bold19_);
    if (bold16_) DeleteObject(bold16_);
}

bool HelpWindow::create() {
    registerClass(kClassName, LoadIconW(GetModuleHandleW(nullptr), L"MORVANE"),
                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const win32::ControlRect at = win32::centredWindow(kHelpWindowWidth, kHelpWindowHeight);
    if (!BaseWindow::create(kClassName, style, 0, at.x, at.y, at.width, at.height, nullptr, nullptr))
        return false;
    win32::setWindowText(hwnd(), "帮助");
    return true;
}

HWND HelpWindow::control(HelpControl id) const {
    for (const auto& [which, hwnd] : controls_)
        if (which == id) return hwnd;
    return nullptr;
}

void HelpWindow::createControls() {
    bold19_ = createSongFont(19);
    bold16_ = createSongFont(16);
    const HFONT guiFont = win32::defaultGuiFont();
    for (const HelpRow& row : helpWindowControls()) {
        const HWND parent = row.tab == HelpControl::none ? hwnd() : control(row.tab);
        const auto id = static_cast<int>(row.id);
        const win32::ControlRect rect = win32::scaled({row.x, row.y, row.width, row.height});
        HWND created = nullptr;
        switch (row.kind) {
        case HelpKind::tabControl: {
            const auto pages = splitPages(row.text);
            created = win32::createTabControl(parent, hwnd(), id, rect, {});
            for (std::size_t i = 0; i < pages.size(); ++i) win32::Tab(created).addPage(static_cast<int>(i), pages[i]);
            break;
        }
        case HelpKind::picture:
            created = win32::createPictureBox(parent, id, rect, row.picture);
            break;
        case HelpKind::button:
            created = CreateWindowExW(0, L"BUTTON", win32::toWide(row.text).c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rect.x, rect.y, rect.width,
                                      rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
            win32::Window(created).setFont(guiFont);
            // The step buttons lie over the pictures and are shown in front.
            SetWindowPos(created, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            break;
        case HelpKind::transparentLabel:
            created = win32::createTransparentLabel(parent, id, rect, row.text, row.colour,
                                                    win32::LabelLayout::wrappedFromTop);
            win32::Window(created).setFont(row.font == HelpFont::bold宋体19   ? bold19_
                                           : row.font == HelpFont::bold宋体16 ? bold16_
                                                                              : guiFont);
            break;
        }
        controls_.emplace_back(row.id, created);
        if (row.tab != HelpControl::none) pages_.add(parent, row.page, created);
    }
    // Every tab control starts on its first page.
    for (const HelpRow& row : helpWindowControls())
        if (row.kind == HelpKind::tabControl) pages_.showCurrent(control(row.id));
}

void HelpWindow::fitTabsToWindow() {
    RECT outer;
    GetWindowRect(hwnd(), &outer);
    const double width = outer.right - outer.left;
    const double height = outer.bottom - outer.top;
    // In this order, each from the size just set.
    const int tab1Height = static_cast<int>(height - win32::scaled(50));
    const int tab1Width = static_cast<int>(width - win32::scaled(20));
    const int tab2Width = static_cast<int>(static_cast<double>(tab1Width) - win32::scaled(20));
    const int tab2Height = static_cast<int>(static_cast<double>(tab1Height) - win32::scaled(50));
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(control(HelpControl::选择夹1), nullptr, 0, 0, tab1Width, tab1Height, flags);
    SetWindowPos(control(HelpControl::选择夹2), nullptr, 0, 0, tab2Width, tab2Height, flags);
}

void HelpWindow::showStep(int page) {
    HWND steps = control(HelpControl::选择夹2);
    SendMessageW(steps, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    pages_.showCurrent(steps);
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        windowOpened(hwnd());
        createControls();
        fitTabsToWindow();  // once before the window is first shown
        return 0;
    case WM_SIZE:
        // A minimised window has no size to fit to; restoring it fits again.
        if (wParam != SIZE_MINIMIZED && control(HelpControl::选择夹1)) fitTabsToWindow();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (static_cast<HelpControl>(LOWORD(wParam))) {
            case HelpControl::选择框夹2按钮1:
                showStep(1);
                break;
            case HelpControl::选择框夹2按钮2:
                showStep(2);
                break;
            case HelpControl::选择框夹2按钮3:
                DestroyWindow(hwnd());
                break;
            default:
                break;
            }
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE && pages_.has(header->hwndFrom)) pages_.showCurrent(header->hwndFrom);
        return 0;
    }
    case WM_ACTIVATE:
        focus_.onActivate(hwnd(), wParam, control(HelpControl::选择框夹2按钮1));
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
