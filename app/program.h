// The program's lifetime: its constants, the shared score texts, the windows
// that keep it running, and the ways it ends.
#pragma once

#include <windows.h>

#include <vector>

#include "convert/gbk_text.h"
#include "program_version.h"  // programVersion

namespace morvane {

inline constexpr const char kMainWindowTitle[] =
    "Morvane   by:Lestrio     支持手动曲谱转换，自动演奏器曲谱转换。";

// Texts the conversions and the save commands hand to each other; each is
// replaced as a whole by its writer and released when the program ends.
struct SharedScoreTexts {
    GbkText lastManualScore;
    GbkText manualSaveText;
    GbkText lastAutoScore;
    GbkText autoSaveText;
};
SharedScoreTexts& sharedTexts();
void releaseSharedTexts();

// Top-level windows of the program.  When the last one is destroyed the
// message loop ends.
void windowOpened(HWND hwnd);
void windowClosed(HWND hwnd);
bool isProgramWindow(HWND hwnd);
std::vector<HWND> programWindows();

// Ends the program at once, whatever windows are open.
[[noreturn]] void endProgram(int exitCode);

}  // namespace morvane
