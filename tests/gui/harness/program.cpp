// Failing, waiting, and the program under test.
#include "harness/internal.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>

namespace morvane::gui {

namespace {

std::mutex startedLock;
std::vector<HANDLE> started;  // duplicates owned by the registry

void remember(HANDLE process) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    std::lock_guard lock(startedLock);
    started.push_back(copy);
}

void forget(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    std::lock_guard lock(startedLock);
    auto it = std::find_if(started.begin(), started.end(), [&](HANDLE h) { return GetProcessId(h) == pid; });
    if (it != started.end()) {
        CloseHandle(*it);
        started.erase(it);
    }
}

std::string fileName(const char* path) {
    std::string_view text(path);
    const auto slash = text.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? text : text.substr(slash + 1));
}

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

}  // namespace

namespace detail {

Settings& settings() {
    static Settings value;
    return value;
}

std::optional<FailureScreen>& failureScreen() {
    static std::optional<FailureScreen> value;
    return value;
}

void terminateStartedPrograms() {
    std::lock_guard lock(startedLock);
    for (HANDLE process : started) {
        TerminateProcess(process, 0xDEAD);
        WaitForSingleObject(process, 5000);
    }
}

void failWithLastError(std::string_view what, Where where) {
    const DWORD code = GetLastError();
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = std::string(what) + " (error " + std::to_string(code);
    if (message) {
        std::string reason = utf8(message);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
        text += ": " + reason;
        LocalFree(message);
    }
    fail(text + ")", where);
}

}  // namespace detail

void fail(std::string_view message, Where where) {
    const std::string text = fileName(where.file_name()) + ":" + std::to_string(where.line()) + ": " + std::string(message);
    static thread_local bool capturing = false;  // capture() may fail too
    if (!capturing) {
        capturing = true;
        try {
            detail::failureScreen() = detail::FailureScreen{text, capture()};
        } catch (const Failure&) {
        }
        capturing = false;
    }
    throw Failure(text);
}

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring wide(std::string_view utf8Text) {
    if (utf8Text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), result.data(), size);
    return result;
}

const std::wstring& programPath() {
    return detail::settings().program;
}

const std::wstring& screenshotFolder() {
    return detail::settings().screenshots;
}

std::wstring windowsPath(std::wstring_view path) {
    if (path.empty() || path.front() != L'/') return std::wstring(path);
    std::wstring result = L"Z:" + std::wstring(path);
    std::replace(result.begin(), result.end(), L'/', L'\\');
    return result;
}

// ---- Waiting ----------------------------------------------------------------

bool eventually(const std::function<bool()>& condition, Duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Short enough not to slow a test down, long enough to leave the
        // program the CPU.
        Sleep(5);
    }
}

void waitUntil(const std::function<bool()>& condition, std::string_view what, Duration timeout, Where where) {
    if (!eventually(condition, timeout)) {
        fail("timed out after " + std::to_string(timeout.count()) + " ms waiting for " + std::string(what), where);
    }
}

void waitForText(HWND window, std::wstring_view expected, Duration timeout, Where where) {
    std::wstring seen;
    const bool ok = eventually(
        [&] {
            seen = textOf(window, where);
            return seen == expected;
        },
        timeout);
    if (!ok) {
        fail("timed out after " + std::to_string(timeout.count()) + " ms waiting for " + describe(window) +
                 " to show \"" + utf8(expected) + "\"; it shows \"" + utf8(seen) + "\"",
             where);
    }
}

// ---- Program ------------------------------------------------------------------

Program::Program(std::wstring path, std::wstring arguments, std::wstring workingDirectory, Where where) {
    path = windowsPath(path);
    if (workingDirectory.empty()) {
        workingDirectory = path.substr(0, path.find_last_of(L"\\/") + 1);
    }
    std::wstring commandLine = quoted(path);
    if (!arguments.empty()) commandLine += L" " + arguments;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : windowsPath(workingDirectory).c_str(), &startup, &info)) {
        detail::failWithLastError("cannot start " + utf8(commandLine), where);
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    remember(process_);
}

Program::~Program() {
    kill();
    forget(process_);
    CloseHandle(process_);
}

bool Program::running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> Program::topWindows() const {
    return topWindowsOf(pid_);
}

HWND Program::waitForWindow(std::wstring_view className, Duration timeout, Where where) const {
    HWND found = nullptr;
    const bool ok = eventually(
        [&] {
            const auto windows = topWindowsOf(pid_, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr || !running();
        },
        timeout);
    if (found) return found;
    if (!ok) fail("timed out after " + std::to_string(timeout.count()) + " ms waiting for a window of class " + utf8(className), where);
    fail("the program ended (exit code " + std::to_string(*exitCode()) + ") before a window of class " +
             utf8(className) + " appeared",
         where);
}

DWORD Program::waitForExit(Duration timeout, Where where) const {
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        fail("the program is still running after " + std::to_string(timeout.count()) + " ms", where);
    }
    return *exitCode();
}

std::optional<DWORD> Program::exitCode() const {
    DWORD code = 0;
    if (running() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void Program::kill() {
    if (!running()) return;
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 5000);
}

}  // namespace morvane::gui
