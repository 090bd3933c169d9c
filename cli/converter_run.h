// One run of morvane-convert, from its arguments to its exit status.
#pragma once

#include <span>
#include <string>

#include "cli/terminal.h"

namespace morvane {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFound = 1;    // --check found characters
inline constexpr int kExitTrouble = 2;  // bad usage, or an input or output that failed

// The arguments after the program's name (bytes on Linux, UTF-8 on Windows,
// where they name the files by their wide paths).  Reads and converts every
// input first and writes only when all of them succeeded; files under -o
// are each written to a temporary file in that folder, and only once all
// are complete do they replace their targets.
int runConverter(std::span<const std::string> arguments, Terminal& terminal);

}  // namespace morvane
