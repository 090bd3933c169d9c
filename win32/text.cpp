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
    const int needed = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), length, nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kGbkCodePage, 0, wide.data(), length, bytes.data(), needed, "?", nullptr);
    return GbkText::adopt(std::move(bytes));
}

}  // namespace morvane::win32
