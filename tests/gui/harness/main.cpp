// main() of every GUI test executable.  Under explorer /desktop the exit
// code is lost, so the verdict also goes to the file named by
// --morvane-status, which the runner reads.  A watchdog ends a test that
// hangs, after ending the programs it started, so nothing is left behind.
//
// Options (besides GoogleTest's):
//   --morvane-program=PATH      the program under test (programPath())
//   --morvane-screenshots=DIR   where screenshots go
//   --morvane-probe=DLL         the probe that reads from inside the program
//   --morvane-status=FILE       where the verdict goes: "0" when all passed
//   --morvane-timeout=SECONDS   the watchdog's limit for the whole run
#include "harness/internal.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

using namespace morvane::gui;

std::wstring statusFile;

void writeStatus(const char* verdict) {
    if (statusFile.empty()) return;
    if (FILE* file = _wfopen(statusFile.c_str(), L"wb")) {
        std::fputs(verdict, file);
        std::fclose(file);
    }
}

DWORD WINAPI watchdog(void* seconds) {
    const auto limit = reinterpret_cast<std::uintptr_t>(seconds);
    Sleep(static_cast<DWORD>(limit * 1000));
    std::printf("\n[watchdog] the GUI test ran longer than %u s: ending it and the programs it started\n",
                static_cast<unsigned>(limit));
    if (auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        std::printf("[watchdog] it was in %s.%s\n", test->test_suite_name(), test->name());
        try {
            saveScreenshot(nullptr, L"watchdog");
        } catch (const std::exception&) {
        }
    }
    std::fflush(stdout);
    detail::terminateStartedPrograms();
    writeStatus("watchdog\n");
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

// A crash of the test itself must end the run at once with a verdict.
// (Wine ignores SEM_NOGPFAULTERRORBOX and would start its debugger.)
LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
    std::printf("\n[crash] exception 0x%08lx at %p", static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode),
                exception->ExceptionRecord->ExceptionAddress);
    if (auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        std::printf(" in %s.%s", test->test_suite_name(), test->name());
    }
    std::printf("\n");
    std::fflush(stdout);
    detail::terminateStartedPrograms();
    writeStatus("crash\n");
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The screen at a test's first failure, saved as <test>-failure.png.  For a
// harness Failure that is the screen fail() saw, since the exception may
// have ended the program on its way to GoogleTest.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        taken_ = false;
        detail::failureScreen().reset();
    }
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.failed() || taken_) return;
        taken_ = true;
        auto& seen = detail::failureScreen();
        try {
            std::wstring path;
            if (seen && std::string_view(result.message()).find(seen->message) != std::string_view::npos) {
                path = saveScreenshot(seen->image, L"failure");
            } else {
                path = saveScreenshot(nullptr, L"failure");
            }
            std::printf("[screenshot] %s\n", utf8(path).c_str());
        } catch (const std::exception& error) {
            std::printf("[screenshot] none: %s\n", error.what());
        }
        seen.reset();
    }
    bool taken_ = false;
};

std::wstring optionValue(const std::wstring& argument, std::wstring_view name) {
    return argument.compare(0, name.size(), name) == 0 ? argument.substr(name.size()) : std::wstring();
}

}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(onCrash);
    // A crashing program under test gets Wine's debugger, whose crash dialog
    // would wait on the desktop for a person; without the dialog the debugger
    // prints a backtrace and the program ends, which the test then sees.
    DWORD noDialog = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", REG_DWORD, &noDialog, sizeof noDialog);
    ::testing::InitGoogleTest(&argc, argv);

    // Our options in UTF-16: paths may hold any character.
    unsigned timeout = 0;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        const std::wstring argument = arguments[i];
        if (auto v = optionValue(argument, L"--morvane-program="); !v.empty()) detail::settings().program = windowsPath(v);
        if (auto v = optionValue(argument, L"--morvane-screenshots="); !v.empty()) detail::settings().screenshots = windowsPath(v);
        if (auto v = optionValue(argument, L"--morvane-probe="); !v.empty()) detail::settings().probe = windowsPath(v);
        if (auto v = optionValue(argument, L"--morvane-status="); !v.empty()) statusFile = windowsPath(v);
        if (auto v = optionValue(argument, L"--morvane-timeout="); !v.empty()) timeout = static_cast<unsigned>(std::stoul(v));
    }
    LocalFree(arguments);

    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    if (timeout) {
        CloseHandle(CreateThread(nullptr, 0, watchdog, reinterpret_cast<void*>(static_cast<std::uintptr_t>(timeout)), 0, nullptr));
    }
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    writeStatus(result == 0 ? "0\n" : "1\n");
    return result;
}
