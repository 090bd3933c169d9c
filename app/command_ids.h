// Every command of the main window's menus, pop-up menus and shortcuts.
// GUI tests include this header too.
#pragma once

namespace morvane {

enum class Command : unsigned {
    saveManualNumberedScore = 40001,
    saveManualScore,
    saveAutoNumberedScore,
    saveAutoScore,
    exitProgram,
    importManualNumberedScore,
    importAutoNumberedScore,
    openHelp,
    openAbout,
};

}  // namespace morvane
