// Shared between the harness's own files; tests use harness.h only.
#pragma once

#include "harness/harness.h"

#include <string>

namespace morvane::gui::detail {

struct Settings {
    std::wstring program;
    std::wstring screenshots;
    std::wstring probe;  // the probe DLL, see probe.h
};
Settings& settings();

// The screen at the moment of the last fail(): by the time GoogleTest
// reports the failure, unwinding may have ended the program.
struct FailureScreen {
    std::string message;
    Image image;
};
std::optional<FailureScreen>& failureScreen();

// Programs started by the tests, so the watchdog can end them before it
// ends the test executable.
void terminateStartedPrograms();

// Fails with the text of GetLastError().
[[noreturn]] void failWithLastError(std::string_view what, Where where);

// SendInput that fails unless every event was taken.
void send(std::vector<INPUT>& inputs, Where where);

}  // namespace morvane::gui::detail
