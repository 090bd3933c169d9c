// The main window's menu bar, its two pop-up menus and its shortcuts, all
// built from one table.
#pragma once

#include <windows.h>

#include <span>

#include "app/command_ids.h"

namespace morvane {

struct MenuRow {
    int depth;             // 0: menu bar title; 1: its items; 2: items of a sub-menu
    const char* text;      // GBK; "-" is a separator
    const char* shortcut;  // shown after a tab; null for titles and separators
    Command command;
    BYTE keyFlags;         // accelerator flags (FVIRTKEY, FCONTROL)
    WORD key;              // accelerator virtual key
};

std::span<const MenuRow> mainMenuRows();

HMENU buildMenuBar();
// A fresh pop-up menu with the items of the sub-menu titled `title`.
HMENU buildPopupMenu(const char* title);
HACCEL buildAccelerators();

inline constexpr const char kManualSaveMenu[] = "手动弹奏谱保存";
inline constexpr const char kAutoSaveMenu[] = "自动弹奏谱保存";

}  // namespace morvane
