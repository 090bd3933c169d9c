// The about window: a borderless pink panel with a few lines from the
// author, shown in dialog mode over the main window.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/window.h"

namespace morvane {

enum class AboutControl : int { 标签1 = 3001, 按钮1 };

class AboutWindow : public win32::BaseWindow<AboutWindow> {
public:
    // Disables every unowned window of the program, shows the about window
    // and returns only after it has closed, when they are enabled again.
    static void showModal(HWND owner);

    ~AboutWindow() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void createControls();
    void close();

    std::vector<HWND> disabled_;
    HBRUSH pink_ = nullptr;
    HWND label_ = nullptr;
};

}  // namespace morvane
