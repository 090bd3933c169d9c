// morvane-convert on Windows: wide arguments, so that file names of any
// language work, and a console shown in UTF-16, whatever its code page.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/converter_run.h"
#include "cli/terminal.h"

namespace {

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

std::wstring toWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), needed);
    return wide;
}

// A console takes UTF-16 and shows it right in any code page; a file or a
// pipe gets the bytes.
bool writeToConsole(DWORD which, std::string_view bytes, UINT codePage, bool& written) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return false;
    const std::wstring wide = toWide(bytes, codePage);
    written = true;
    for (std::size_t done = 0; done < wide.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
        DWORD count = 0;
        if (!WriteConsoleW(handle, wide.data() + done, chunk, &count, nullptr) || count == 0) {
            written = false;
            break;
        }
        done += count;
    }
    return true;
}

class Console : public morvane::StandardStreams {
public:
    bool writeOutput(std::string_view bytes, morvane::OutputEncoding encoding) override {
        const UINT codePage = encoding == morvane::OutputEncoding::gbk ? 936 : CP_UTF8;
        bool written;
        if (writeToConsole(STD_OUTPUT_HANDLE, bytes, codePage, written)) return written;
        return StandardStreams::writeOutput(bytes, encoding);
    }
    void writeError(std::string_view message) override {
        bool written;
        if (!writeToConsole(STD_ERROR_HANDLE, message, CP_UTF8, written)) StandardStreams::writeError(message);
    }
};

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    // Scores are bytes: no CR added before LF, none taken away.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(toUtf8(argv[i]));
    Console terminal;
    return morvane::runConverter(arguments, terminal);
}
