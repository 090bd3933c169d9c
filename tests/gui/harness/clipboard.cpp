// Reading the clipboard that the program wrote.
#include "harness/internal.h"

#include <cstring>

namespace morvane::gui {

namespace {

// The program may hold the clipboard open for a moment; keep trying.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(Where where) {
        if (!eventually([] { return OpenClipboard(nullptr) != FALSE; }, 5s)) {
            detail::failWithLastError("cannot open the clipboard", where);
        }
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

std::optional<std::string> blockOf(UINT format) {
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (!bytes) return std::string();
    std::string block(static_cast<const char*>(bytes), size);
    GlobalUnlock(data);
    return block;
}

}  // namespace

std::optional<std::string> clipboardBytes(UINT format, Where where) {
    OpenClipboardScope open(where);
    return blockOf(format);
}

std::optional<std::wstring> clipboardUnicodeText(Where where) {
    OpenClipboardScope open(where);
    const auto block = blockOf(CF_UNICODETEXT);
    if (!block) return std::nullopt;
    std::wstring text(block->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), block->data(), text.size() * sizeof(wchar_t));
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return text;
}

std::vector<UINT> clipboardFormats(Where where) {
    OpenClipboardScope open(where);
    std::vector<UINT> formats;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) formats.push_back(format);
    return formats;
}

void emptyClipboard(Where where) {
    OpenClipboardScope open(where);
    if (!EmptyClipboard()) detail::failWithLastError("cannot empty the clipboard", where);
}

}  // namespace morvane::gui
