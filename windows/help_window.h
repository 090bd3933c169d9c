// The help window: how to write a score for each conversion.  Modeless, at
// most one, beside the main window.
#pragma once

#include <windows.h>

#include <vector>

#include "windows/help_window_controls.h"
#include "win32/focus_keeper.h"
#include "win32/tab_pages.h"
#include "win32/window.h"

namespace morvane {

class HelpWindow : public win32::BaseWindow<HelpWindow> {
public:
    // Opens the help window, or brings back the one that is open: restored
    // when minimised, made the active window otherwise.
    static void open();

    ~HelpWindow() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool create();
    void createControls();
    HWND control(HelpControl id) const;
    void fitTabsToWindow();
    void showStep(int page);

    std::vector<std::pair<HelpControl, HWND>> controls_;
    win32::TabPages pages_;
    win32::FocusKeeper focus_;
    HFONT bold19_ = nullptr;
    HFONT bold16_ = nullptr;
};

}  // namespace morvane
