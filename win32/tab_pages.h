// Tab controls whose pages hold controls.  The controls of a page are
// children of the tab control, positioned relative to its top-left corner;
// only the current page's controls are shown.  Tab controls nest.
#pragma once

#include <windows.h>

#include <vector>

#include "convert/gbk_text.h"
#include "win32/geometry.h"

namespace morvane::win32 {

// A tab control with its pages (tabs in one row along the top), whose
// notifications, commands and colour questions reach `window`.
HWND createTabControl(HWND parent, HWND window, int id, ControlRect rect, std::initializer_list<GbkText> pages);

class TabPages {
public:
    // `control` belongs to page `page` (0-based) of `tab`.
    void add(HWND tab, int page, HWND control, bool neverShown = false);
    // Shows the current page's controls of `tab` and hides the others; for
    // the tab's TCN_SELCHANGE.
    void showCurrent(HWND tab) const;
    bool has(HWND tab) const;

private:
    struct Entry {
        HWND tab;
        int page;
        HWND control;
        bool neverShown;
    };
    std::vector<Entry> entries_;
};

}  // namespace morvane::win32
