#pragma once

#include <windows.h>

namespace morvane {

class MainWindow;

// Keyboard rules shared by every window of the program: Esc closes the
// window that has the focus, Tab always moves the focus (out of multi-line
// boxes too).  True when the message has been handled.
bool handleWindowKeys(const MSG& msg);

// Runs until the last window of the program has closed.
void runMessageLoop(MainWindow& mainWindow);

}  // namespace morvane
