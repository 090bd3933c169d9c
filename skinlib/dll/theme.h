// The colours of the skin in use, with the few brushes that outlive a paint
// (the ones handed back from WM_CTLCOLOR*).
#pragma once

#include <windows.h>

#include "skinlib/skin_format.h"

namespace morvane::skinh {

struct Theme {
    COLORREF colours[skin::kRoleCount] = {};
    int cornerRadius = 0;
    HBRUSH windowBrush = nullptr;
    HBRUSH pageBrush = nullptr;
    HBRUSH editBrush = nullptr;
    HBRUSH readOnlyBrush = nullptr;

    COLORREF operator[](skin::Role role) const { return colours[static_cast<int>(role)]; }
};

// Builds the theme for `skin`; false (and nothing to release) when GDI
// refuses a brush.
bool makeTheme(const skin::Skin& skin, Theme& theme);
void releaseTheme(Theme& theme);

// Mixes `a` and `b`: weight 0 gives a, 256 gives b.
COLORREF mix(COLORREF a, COLORREF b, int weight);

}  // namespace morvane::skinh
