#include "app/ui_helpers.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "win32/text.h"

namespace morvane {

void showMessage(const GbkText& text, MessageIcon icon, const GbkText& title) {
    const GbkText shownTitle = isEmptyText(title) ? GbkText("信息：") : title;
    UINT type = MB_OK | MB_TASKMODAL;
    if (icon == MessageIcon::error) type |= MB_ICONERROR;
    MessageBoxW(nullptr, win32::toWide(text).c_str(), win32::toWide(shownTitle).c_str(), type);
}

namespace {

HGLOBAL globalCopy(const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, data, size);
        GlobalUnlock(memory);
        return memory;
    }
    GlobalFree(memory);
    return nullptr;
}

void putOnClipboard(UINT format, const void* data, std::size_t size) {
    if (HGLOBAL memory = globalCopy(data, size)) {
        if (!SetClipboardData(format, memory)) GlobalFree(memory);
    }
}

}  // namespace

void setClipboardText(const GbkText& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const std::string& bytes = text.bytes();
    putOnClipboard(CF_TEXT, bytes.c_str(), bytes.size() + 1);
    const std::wstring wide = win32::toWide(text);
    putOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    // The plain text is GBK: say so, so that the system converts it right.
    const LCID chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
    putOnClipboard(CF_LOCALE, &chinese, sizeof(chinese));
    CloseClipboard();
}

}  // namespace morvane
