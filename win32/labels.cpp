#include "win32/labels.h"

#include <string>
#include <vector>

#include "win32/fonts.h"
#include "win32/text.h"
#include "win32/window.h"

namespace morvane::win32 {

namespace {

constexpr wchar_t kTransparentLabelClass[] = L"MorvaneTransparentLabel";

struct TransparentLabelState {
    COLORREF colour;
    LabelLayout layout;
    HFONT font;
};

// Paints into `dc` what lies behind `label`: its parent's background and
// content, then every sibling beneath it (a label in front of a tab control
// shows the tab's page).
void paintWhatLiesBehind(HWND label, HDC dc) {
    HWND parent = GetParent(label);
    RECT inParent;
    GetWindowRect(label, &inParent);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&inParent), 2);

    const int saved = SaveDC(dc);
    POINT origin;
    OffsetViewportOrgEx(dc, -inParent.left, -inParent.top, &origin);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);

    // Siblings come top first; paint those below the label, lowest first.
    HWND below[16];
    int count = 0;
    for (HWND sibling = GetWindow(label, GW_HWNDNEXT); sibling && count < 16;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (!IsWindowVisible(sibling)) continue;
        RECT rect, overlap;
        GetWindowRect(sibling, &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        if (IntersectRect(&overlap, &rect, &inParent)) below[count++] = sibling;
    }
    while (count-- > 0) {
        RECT rect;
        GetWindowRect(below[count], &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        const int state = SaveDC(dc);
        OffsetViewportOrgEx(dc, rect.left - inParent.left, rect.top - inParent.top, nullptr);
        SendMessageW(below[count], WM_PRINT, reinterpret_cast<WPARAM>(dc),
                     PRF_ERASEBKGND | PRF_CLIENT | PRF_NONCLIENT);
        RestoreDC(dc, state);
    }
}

// Word-wrapped lines from the top; CR LF starts a line.  A text a little
// taller than its label (a font with generous line spacing) has the gaps
// between its lines narrowed so that its last line still shows.  Empty
// lines at the end show nothing and take no room.
void drawWrapped(HDC dc, const std::wstring& text, const RECT& client) {
    std::vector<std::wstring> lines;
    for (std::size_t from = 0;;) {
        const auto end = text.find(L"\r\n", from);
        lines.push_back(text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from));
        if (end == std::wstring::npos) break;
        from = end + 2;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    constexpr UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    std::vector<int> heights;
    int total = 0;
    for (const auto& line : lines) {
        RECT measured{0, 0, client.right, 0};
        if (!line.empty()) DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &measured, format | DT_CALCRECT);
        const int height = line.empty() ? metrics.tmHeight : static_cast<int>(measured.bottom);
        heights.push_back(height);
        total += height;
    }
    const double scale = total > client.bottom && total > 0 ? static_cast<double>(client.bottom) / total : 1.0;
    double y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        RECT where{0, static_cast<int>(y), client.right, static_cast<int>(y) + heights[i]};
        if (!lines[i].empty()) DrawTextW(dc, lines[i].c_str(), static_cast<int>(lines[i].size()), &where, format);
        y += heights[i] * scale;
    }
}

LRESULT CALLBACK transparentLabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<TransparentLabelState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // clicks go to what lies behind
    case WM_ERASEBKGND:
        return 1;  // nothing of its own behind the text
    case WM_SETFONT:
        if (state) state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (state) {
            RECT client;
            GetClientRect(hwnd, &client);
            const int length = GetWindowTextLengthW(hwnd);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            GetWindowTextW(hwnd, text.data(), length + 1);
            text.resize(static_cast<std::size_t>(length));
            paintWhatLiesBehind(hwnd, dc);
            HGDIOBJ oldFont = SelectObject(dc, state->font ? state->font : defaultGuiFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, state->colour);
            if (state->layout == LabelLayout::singleLineCentred) {
                DrawTextW(dc, text.c_str(), length, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            } else {
                drawWrapped(dc, text, client);
            }
            SelectObject(dc, oldFont);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void keepOwnColours(HWND hwnd) { SetPropW(hwnd, L"SkinH.Keep", reinterpret_cast<HANDLE>(1)); }

HWND createTransparentLabel(HWND parent, int id, ControlRect rect, const GbkText& text, COLORREF colour,
                            LabelLayout layout) {
    registerWindowClass(kTransparentLabelClass, transparentLabelProc);
    auto* state = new TransparentLabelState{colour, layout, nullptr};
    HWND hwnd = CreateWindowExW(0, kTransparentLabelClass, toWide(text).c_str(),
                                WS_CHILD | WS_VISIBLE, rect.x, rect.y, rect.width, rect.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), state);
    if (!hwnd) {
        delete state;
        return nullptr;
    }
    keepOwnColours(hwnd);
    return hwnd;
}

HWND createPlainLabel(HWND parent, int id, ControlRect rect, const GbkText& text, DWORD extraStyle) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", toWide(text).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | extraStyle, rect.x, rect.y,
                                rect.width, rect.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd) keepOwnColours(hwnd);
    return hwnd;
}

}  // namespace morvane::win32
