#include "skinlib/dll/painting.h"

#include <commctrl.h>

#include <algorithm>

namespace morvane::skinh {
namespace {

using skin::Role;

class SolidBrush {
public:
    explicit SolidBrush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
    ~SolidBrush() {
        if (brush_) DeleteObject(brush_);
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    operator HBRUSH() const { return brush_; }

private:
    HBRUSH brush_;
};

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    SolidBrush brush(colour);
    if (brush) FillRect(dc, &rect, brush);
}

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT rect{left, top, right, bottom};
    fill(dc, rect, colour);
}

// Paints into memory and copies the result in one go when it goes out of
// scope, so a control never shows half of its picture.  Without memory for
// the copy it draws straight into the target.
class Buffer {
public:
    Buffer(HDC target, int width, int height) : target_(target), width_(width), height_(height) {
        memory_ = CreateCompatibleDC(target);
        if (memory_) bitmap_ = CreateCompatibleBitmap(target, width, height);
        if (bitmap_) {
            old_ = SelectObject(memory_, bitmap_);
        } else if (memory_) {
            DeleteDC(memory_);
            memory_ = nullptr;
        }
    }
    ~Buffer() {
        if (!memory_) return;
        BitBlt(target_, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY);
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    HDC dc() const { return memory_ ? memory_ : target_; }

private:
    HDC target_;
    int width_, height_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

HFONT controlFont(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    // Without a font of their own, controls measure with the system font.
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

LRESULT uiState(HWND control) { return SendMessageW(control, WM_QUERYUISTATE, 0, 0); }

HRGN buttonShape(int left, int top, int right, int bottom, int radius) {
    if (radius <= 0) return CreateRectRgn(left, top, right, bottom);
    // The region leaves out its right and bottom edges, hence the +1.
    return CreateRoundRectRgn(left, top, right + 1, bottom + 1, 2 * radius, 2 * radius);
}

}  // namespace

void paintButton(HWND button, HDC dc, const Theme& theme, COLORREF behind, bool hot) {
    RECT client;
    GetClientRect(button, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;

    const LONG style = GetWindowLongW(button, GWL_STYLE);
    const bool enabled = IsWindowEnabled(button);
    const bool pushed = enabled && (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    const bool focused = enabled && GetFocus() == button;
    const bool isDefault = enabled && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const LRESULT ui = uiState(button);

    Role topRole = Role::ButtonFaceTop, bottomRole = Role::ButtonFaceBottom;
    if (pushed) {
        topRole = Role::ButtonPressedTop;
        bottomRole = Role::ButtonPressedBottom;
    } else if (hot && enabled) {
        topRole = Role::ButtonHotTop;
        bottomRole = Role::ButtonHotBottom;
    }
    COLORREF top = theme[topRole], bottom = theme[bottomRole];
    if (!enabled) {
        top = mix(top, behind, 96);
        bottom = mix(bottom, behind, 96);
    }

    Buffer buffer(dc, width, height);
    HDC d = buffer.dc();
    fill(d, client, behind);

    const int radius = std::min({theme.cornerRadius, width / 2, height / 2});
    if (HRGN shape = buttonShape(0, 0, width, height, radius)) {
        SelectClipRgn(d, shape);
        for (int y = 0; y < height; ++y)
            fill(d, 0, y, width, y + 1, mix(top, bottom, height > 1 ? y * 256 / (height - 1) : 0));
        SelectClipRgn(d, nullptr);
        const SolidBrush border((focused || isDefault) ? theme[Role::ButtonFocus]
                                                       : enabled ? theme[Role::ButtonBorder]
                                                                 : mix(theme[Role::ButtonBorder], behind, 96));
        if (border) FrameRgn(d, shape, border, 1, 1);
        DeleteObject(shape);
    }
    if (focused && !(ui & UISF_HIDEFOCUS) && width > 4 && height > 4) {
        if (HRGN inner = buttonShape(1, 1, width - 1, height - 1, std::max(0, radius - 1))) {
            const SolidBrush ring(mix(theme[Role::ButtonFocus], top, 64));
            if (ring) FrameRgn(d, inner, ring, 1, 1);
            DeleteObject(inner);
        }
    }

    wchar_t text[512];
    const int length = GetWindowTextW(button, text, static_cast<int>(std::size(text)));
    if (length > 0) {
        const HGDIOBJ oldFont = SelectObject(d, controlFont(button));
        SetBkMode(d, TRANSPARENT);
        SetTextColor(d, enabled ? theme[Role::ButtonText] : theme[Role::ButtonTextDisabled]);
        RECT area{3, 2, width - 3, height - 2};
        if (pushed) OffsetRect(&area, 1, 1);
        UINT format = DT_NOCLIP;
        switch (style & BS_CENTER) {
            case BS_LEFT: format |= DT_LEFT; break;
            case BS_RIGHT: format |= DT_RIGHT; break;
            default: format |= DT_CENTER; break;
        }
        if (ui & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
        if (style & BS_MULTILINE) {
            RECT measured = area;
            DrawTextW(d, text, length, &measured, format | DT_WORDBREAK | DT_CALCRECT);
            const int shift = ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2;
            if (shift > 0) area.top += shift;
            DrawTextW(d, text, length, &area, format | DT_WORDBREAK);
        } else {
            DrawTextW(d, text, length, &area, format | DT_SINGLELINE | DT_VCENTER);
        }
        SelectObject(d, oldFont);
    }
}

void paintTab(HWND tab, HDC dc, const Theme& theme, COLORREF behind) {
    RECT client;
    GetClientRect(tab, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;

    Buffer buffer(dc, width, height);
    HDC d = buffer.dc();
    fill(d, client, behind);

    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    int bodyTop = 0;
    if (count > 0) {
        RECT first{};
        SendMessageW(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        bodyTop = std::clamp(static_cast<int>(first.bottom), 0, height - 1);
    }

    const COLORREF border = theme[Role::TabBorder];
    fill(d, 0, bodyTop, width, height, border);
    fill(d, 1, bodyTop + 1, width - 1, height - 1, theme[Role::PageBack]);

    const HGDIOBJ oldFont = SelectObject(d, controlFont(tab));
    SetBkMode(d, TRANSPARENT);
    SetTextColor(d, theme[Role::TabText]);
    const LRESULT ui = uiState(tab);
    // Rows hidden above the parent's client area (a tab control placed a
    // little above it): the selected tab is not lifted into them.
    int hiddenRows = 0;
    if (HWND parent = GetParent(tab); parent && (GetWindowLongW(tab, GWL_STYLE) & WS_CHILD)) {
        RECT outer;
        POINT origin{0, 0};
        GetWindowRect(tab, &outer);
        ClientToScreen(parent, &origin);
        hiddenRows = std::clamp(static_cast<int>(origin.y - outer.top), 0, 8);
    }

    auto drawItem = [&](int index, bool isSelected) {
        RECT r{};
        if (!SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) return;
        if (isSelected) {
            // The selected tab stands out a little and merges with the page.
            r.left -= 2;
            r.right += 2;
            r.top = std::max(static_cast<LONG>(hiddenRows), std::min(r.top, r.top - 2));
            r.bottom = bodyTop + 1;
        } else {
            r.right -= 1;  // a gap of background between neighbouring tabs
        }
        fill(d, r, border);
        const COLORREF face = isSelected ? theme[Role::PageBack] : theme[Role::TabFace];
        fill(d, r.left + 1, r.top + 1, r.right - 1, r.bottom, face);
        if (isSelected) fill(d, r.left + 1, r.top + 1, r.right - 1, std::min(r.top + 3, r.bottom), theme[Role::TabAccent]);

        wchar_t text[256] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        RECT area{r.left + 2, r.top + (isSelected ? 2 : 1), r.right - 2, r.bottom - (isSelected ? 1 : 0)};
        UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (ui & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
        DrawTextW(d, item.pszText, -1, &area, format);
        if (isSelected && GetFocus() == tab && !(ui & UISF_HIDEFOCUS)) {
            RECT focus{r.left + 3, r.top + 4, r.right - 3, r.bottom - 2};
            SetTextColor(d, theme[Role::TabText]);
            DrawFocusRect(d, &focus);
        }
    };
    for (int i = 0; i < count; ++i)
        if (i != selected) drawItem(i, false);
    if (selected >= 0 && selected < count) drawItem(selected, true);
    SelectObject(d, oldFont);
}

void paintEditFrame(HWND edit, COLORREF border, HBRUSH inner) {
    RECT window;
    if (!GetWindowRect(edit, &window)) return;
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    if (r.right < 4 || r.bottom < 4) return;
    HDC dc = GetWindowDC(edit);
    if (!dc) return;
    const SolidBrush line(border);
    if (line) FrameRect(dc, &r, line);
    InflateRect(&r, -1, -1);
    if (inner) FrameRect(dc, &r, inner);
    ReleaseDC(edit, dc);
}

}  // namespace morvane::skinh
