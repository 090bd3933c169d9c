// Drawing of the skinned controls.  Pure output: what to draw (colours, the
// background behind a control, hover state) is decided by the caller.
#pragma once

#include <windows.h>

#include "skinlib/dll/theme.h"

namespace morvane::skinh {

// Whole client area of a push button; `behind` shows at rounded corners.
void paintButton(HWND button, HDC dc, const Theme& theme, COLORREF behind, bool hot);

// Whole client area of a tab control with its tabs along the top; `behind`
// fills what lies beside the tabs.
void paintTab(HWND tab, HDC dc, const Theme& theme, COLORREF behind);

// The sunken client edge of an edit box, drawn flat: an outer line in
// `border`, an inner one with `inner` (the box's own background).
void paintEditFrame(HWND edit, COLORREF border, HBRUSH inner);

}  // namespace morvane::skinh
