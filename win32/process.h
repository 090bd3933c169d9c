// The running executable.
#pragma once

#include <string>

namespace morvane::win32 {

// The full path of the running executable; empty if the system cannot say.
std::wstring executablePath();

}  // namespace morvane::win32
