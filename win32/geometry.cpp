#include "win32/geometry.h"

namespace morvane::win32 {

int screenDpi() {
    static const int dpi = [] {
        const HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int scaled(int length) { return MulDiv(length, screenDpi(), 96); }

ControlRect scaled(ControlRect rect) {
    return {scaled(rect.x), scaled(rect.y), scaled(rect.width), scaled(rect.height)};
}

ControlRect centredWindow(int width, int height) {
    const int w = scaled(width), h = scaled(height);
    return {(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h};
}

}  // namespace morvane::win32
