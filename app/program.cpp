#include "app/program.h"

#include <algorithm>
#include <vector>

namespace morvane {

namespace {

std::vector<HWND>& openWindows() {
    static std::vector<HWND> windows;
    return windows;
}

}  // namespace

SharedScoreTexts& sharedTexts() {
    static SharedScoreTexts texts;
    return texts;
}

void releaseSharedTexts() { sharedTexts() = SharedScoreTexts{}; }

void windowOpened(HWND hwnd) { openWindows().push_back(hwnd); }

void windowClosed(HWND hwnd) {
    auto& windows = openWindows();
    std::erase(windows, hwnd);
    if (windows.empty()) PostQuitMessage(0);
}

bool isProgramWindow(HWND hwnd) {
    const auto& windows = openWindows();
    return std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

std::vector<HWND> programWindows() { return openWindows(); }

void endProgram(int exitCode) {
    releaseSharedTexts();
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace morvane
