#include "win32/text.h"

#include <windows.h>

namespace morvane::win32 {

std::wstring toWide(const GbkText& text) {
    if (text.size() == 0) return {};
    const auto* bytes = text.bytes().data();
    const int length = textLength(text);
    const int needed = MultiByteToWideChar(kGbkCodePage, 0, bytes, length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kGbkCodePage, 0, bytes, length, wide.data(), needed);
    return wide;
}

GbkText toGbk(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    // No "best fit": a character GBK lacks becomes "?", never a look-alike
    // (such as "a" for "â"), so a path that cannot be written says so.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int needed = WideCharToMultiByte(kGbkCodePage, flags, wide.data(), length, nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kGbkCodePage, flags, wide.data(), length, bytes.data(), needed, "?", nullptr);
    return GbkText::adopt(std::move(bytes));
}

}  // namespace morvane::win32
