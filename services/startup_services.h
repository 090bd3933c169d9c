// The two start-up services the main window's creation handler runs, in
// this order, before the window is first shown.
#pragma once

namespace morvane {

// Reads the version page; when it names a newer version, tells the user,
// opens the download page and ends the program (exit code 0).  Any failure
// counts as no newer version, quietly.
void checkForUpdate();

// Makes sure the skin library lies next to the executable, then hands it
// skin `skinNumber`.  A library that cannot be loaded, or lacks its entry
// point, ends the program with the fatal error (exit code -1).
void applySkin(int skinNumber);

// Writes the library image next to the executable when nothing of that name
// is there, and makes it hidden.  Whatever is there already stays.
void ensureSkinLibrary();

}  // namespace morvane
