#include "win32/controls.h"

#include "win32/text.h"

namespace morvane::win32 {

GbkText windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, wide.data(), length + 1);
    wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return toGbk(wide);
}

void setWindowText(HWND hwnd, const GbkText& text) { SetWindowTextW(hwnd, toWide(text).c_str()); }

void Tab::addPage(int index, const GbkText& title) const {
    std::wstring wide = toWide(title);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace morvane::win32
