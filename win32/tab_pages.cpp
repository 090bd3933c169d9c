#include "win32/tab_pages.h"

#include <commctrl.h>

#include "win32/controls.h"
#include "win32/fonts.h"

namespace morvane::win32 {

namespace {

constexpr UINT_PTR kForwarding = 1;

// What the controls of a page report goes to their window, not to the tab
// control that is their parent.
LRESULT CALLBACK forwardToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR window) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam);
    default:
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace

HWND createTabControl(HWND parent, HWND window, int id, ControlRect rect, std::initializer_list<GbkText> pages) {
    HWND tab = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TABS | TCS_SINGLELINE, rect.x, rect.y,
                               rect.width, rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    Window(tab).setFont(defaultGuiFont());
    int index = 0;
    for (const GbkText& page : pages) Tab(tab).addPage(index++, page);
    SetWindowSubclass(tab, forwardToWindow, kForwarding, reinterpret_cast<DWORD_PTR>(window));
    return tab;
}

void TabPages::add(HWND tab, int page, HWND control, bool neverShown) {
    entries_.push_back({tab, page, control, neverShown});
}

void TabPages::showCurrent(HWND tab) const {
    const int current = Tab(tab).currentPage();
    for (const Entry& e : entries_) {
        if (e.tab != tab || e.neverShown) continue;
        ShowWindow(e.control, e.page == current ? SW_SHOWNA : SW_HIDE);
    }
}

bool TabPages::has(HWND tab) const {
    for (const Entry& e : entries_)
        if (e.tab == tab) return true;
    return false;
}

}  // namespace morvane::win32
