#include "skinlib/dll/theme.h"

namespace morvane::skinh {

bool makeTheme(const skin::Skin& skin, Theme& theme) {
    Theme made;
    for (std::size_t i = 0; i < skin::kRoleCount; ++i)
        made.colours[i] = RGB(skin.colours[i].r, skin.colours[i].g, skin.colours[i].b);
    made.cornerRadius = skin.cornerRadius;
    made.windowBrush = CreateSolidBrush(made[skin::Role::WindowBack]);
    made.pageBrush = CreateSolidBrush(made[skin::Role::PageBack]);
    made.editBrush = CreateSolidBrush(made[skin::Role::EditBack]);
    made.readOnlyBrush = CreateSolidBrush(made[skin::Role::EditReadOnlyBack]);
    if (!made.windowBrush || !made.pageBrush || !made.editBrush || !made.readOnlyBrush) {
        releaseTheme(made);
        return false;
    }
    theme = made;
    return true;
}

void releaseTheme(Theme& theme) {
    for (HBRUSH* brush : {&theme.windowBrush, &theme.pageBrush, &theme.editBrush, &theme.readOnlyBrush}) {
        if (*brush) DeleteObject(*brush);
        *brush = nullptr;
    }
}

COLORREF mix(COLORREF a, COLORREF b, int weight) {
    auto channel = [weight](int x, int y) { return x + (y - x) * weight / 256; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

}  // namespace morvane::skinh
