#include "files/win32/whole_file.h"

#include <windows.h>

#include <cstdint>
#include <new>
#include <string>

#include "win32/text.h"

namespace morvane::win32 {

detail::BeforeReplaceHook detail::beforeReplaceForTesting = nullptr;

namespace {

// The attributes that a replaced file hands on to its successor.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close() {
        if (!valid()) return true;
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

std::wstring fullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

void appendHex(std::wstring& out, unsigned long value) {
    wchar_t digits[sizeof(value) * 2];
    int n = 0;
    do {
        digits[n++] = L"0123456789abcdef"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (n > 0) out += digits[--n];
}

// "<folder>~mv<pid>-<n>.tmp": short, so that a target within the path limit
// leaves room for its temporary file in most folders.
std::wstring temporaryName(const std::wstring& folder) {
    static LONG counter = 0;
    std::wstring name = folder + L"~mv";
    appendHex(name, GetCurrentProcessId());
    name += L'-';
    appendHex(name, static_cast<unsigned long>(InterlockedIncrement(&counter)));
    return name + L".tmp";
}

bool writeAll(HANDLE file, std::span<const ByteData> parts) {
    for (const auto& part : parts) {
        const char* p = part.data();
        std::size_t left = part.size();
        while (left > 0) {
            const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
            p += written;
            left -= written;
        }
    }
    return true;
}

}  // namespace

bool writeWholeFile(const GbkText& path, std::span<const ByteData> parts) {
    if (isEmptyText(path)) return false;
    const std::wstring target = fullPath(toWide(path));
    const std::size_t slash = target.find_last_of(L"\\/");
    if (target.empty() || slash == std::wstring::npos || slash + 1 == target.size()) return false;
    const std::wstring folder = target.substr(0, slash + 1);

    // What stands at the target now.  A file that could not be opened for
    // writing with no sharing (read-only, a folder, open elsewhere, denied)
    // is refused before anything is written.
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    const bool replacing = oldAttributes != INVALID_FILE_ATTRIBUTES;
    FILETIME created{};
    bool keepCreated = false;
    if (replacing) {
        if (oldAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid()) return false;
        keepCreated = GetFileTime(probe.get(), &created, nullptr, nullptr) != 0;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;  // a missing folder, a bad name, or no access to the folder
    }

    const DWORD attributes = replacing && (oldAttributes & kKeptAttributes) ? oldAttributes & kKeptAttributes
                                                                            : FILE_ATTRIBUTE_NORMAL;
    // A name left by an earlier run that died is skipped, never reused.
    std::wstring temporary;
    HANDLE opened = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && opened == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryName(folder);
        opened = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        if (opened == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    Handle file(opened);
    if (!file.valid()) return false;

    bool ok = writeAll(file.get(), parts);
    if (ok && keepCreated) SetFileTime(file.get(), &created, nullptr, nullptr);  // best effort
    ok = ok && FlushFileBuffers(file.get()) != 0;
    ok = file.close() && ok;
    if (ok && detail::beforeReplaceForTesting) detail::beforeReplaceForTesting(temporary, target);
    if (ok) {
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (replacing ? MOVEFILE_REPLACE_EXISTING : 0);
        ok = MoveFileExW(temporary.c_str(), target.c_str(), flags) != 0;
    }
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

bool writeWholeFile(const GbkText& path, std::initializer_list<ByteData> parts) {
    return writeWholeFile(path, std::span<const ByteData>(parts.begin(), parts.size()));
}

ByteData readWholeFile(const GbkText& path) {
    if (isEmptyText(path)) return {};
    Handle file(CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {};
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return {};
    if (static_cast<std::uint64_t>(size.QuadPart) > std::string().max_size()) return {};
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::size_t left = bytes.size() - got;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + got, chunk, &read, nullptr)) return {};
        if (read == 0) break;  // the file became shorter: keep what arrived
        got += read;
    }
    bytes.resize(got);
    return ByteData(std::move(bytes));
}

}  // namespace morvane::win32
