// Morvane: numbered scores into manual key scores and auto-player scripts.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/program.h"
#include "win32/process.h"

namespace {

// Files the program reads and writes lie next to its executable, wherever
// it was started from.
void workInExecutableDirectory() {
    std::wstring path = morvane::win32::executablePath();
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    path.resize(slash);
    if (path.size() == 2 && path[1] == L':') path += L'\\';  // a drive's root
    SetCurrentDirectoryW(path.c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    workInExecutableDirectory();
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The help pictures are decoded by the system's imaging component.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    morvane::MainWindow mainWindow;
    if (mainWindow.create()) {
        mainWindow.showCentred();
        morvane::runMessageLoop(mainWindow);
    }
    morvane::releaseSharedTexts();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
