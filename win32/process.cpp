#include "win32/process.h"

#include <windows.h>

namespace morvane::win32 {

std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {  // a cut path fills the buffer: try a larger one
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace morvane::win32
