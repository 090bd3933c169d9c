#include "app/message_loop.h"

#include "app/main_window.h"
#include "app/program.h"

namespace morvane {

bool handleWindowKeys(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_ESCAPE && msg.wParam != VK_TAB)) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (!top || !isProgramWindow(top)) return false;
    if (msg.wParam == VK_ESCAPE) {
        PostMessageW(top, WM_CLOSE, 0, 0);
        return true;
    }
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(top, GetFocus(), backwards)) SetFocus(next);
    return true;
}

void runMessageLoop(MainWindow& mainWindow) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (mainWindow.preTranslate(msg) || handleWindowKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace morvane

namespace morvane {

void runModalLoop(const std::function<bool()>& keepRunning) {
    MSG msg;
    while (keepRunning()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (handleWindowKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace morvane
