#pragma once

#include <windows.h>

#include <functional>

namespace morvane {

class MainWindow;

// Keyboard rules shared by every window of the program: Esc closes the
// window that has the focus, Tab always moves the focus (out of multi-line
// boxes too).  True when the message has been handled.
bool handleWindowKeys(const MSG& msg);

// Runs until the last window of the program has closed.
void runMessageLoop(MainWindow& mainWindow);

// The loop of a window in dialog mode: runs while `keepRunning` holds.  A
// request to end the program is passed on to the outer loop.
void runModalLoop(const std::function<bool()>& keepRunning);

}  // namespace morvane
