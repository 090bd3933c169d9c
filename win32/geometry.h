// Positions and sizes at the screen's DPI.
//
// Every length in the window tables is given as at 96 DPI (100 %).  The
// program declares itself DPI-aware, so the system does not stretch its
// windows into a blur; instead it lays them out itself, each length times
// DPI / 96.  At 96 DPI every length is exactly the table's.
#pragma once

#include <windows.h>

namespace morvane::win32 {

struct ControlRect {
    int x, y, width, height;
};

// The system DPI (the same for every screen), read once.
int screenDpi();

// A length at 96 DPI, at the screen's DPI: rounded to the nearest pixel,
// halves away from zero.
int scaled(int length);
ControlRect scaled(ControlRect rect);

// Where a top-level window of this outer size (at 96 DPI) lies: its size at
// the screen's DPI, centred on the whole screen (the work area not
// considered).
ControlRect centredWindow(int width, int height);

}  // namespace morvane::win32
