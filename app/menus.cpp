#include "app/menus.h"

#include <cstring>
#include <string>
#include <vector>

#include "win32/text.h"

namespace morvane {

namespace {

using enum Command;
constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr Command kNone{};

constexpr MenuRow kRows[] = {
    {0, "文件", nullptr, kNone, 0, 0},
    {1, kManualSaveMenu, nullptr, kNone, 0, 0},
    {2, "保存手动数谱", "Ctrl+W", saveManualNumberedScore, kCtrl, 'W'},
    {2, "保存手动曲谱", "Ctrl+E", saveManualScore, kCtrl, 'E'},
    {1, kAutoSaveMenu, nullptr, kNone, 0, 0},
    {2, "保存自动数谱", "Ctrl+S", saveAutoNumberedScore, kCtrl, 'S'},
    {2, "保存自动曲谱", "Ctrl+D", saveAutoScore, kCtrl, 'D'},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "退出", "F12", exitProgram, FVIRTKEY, VK_F12},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "-", nullptr, kNone, 0, 0},
    {0, "导入", nullptr, kNone, 0, 0},
    {1, "导入手动数字曲谱", "Ctrl+Q", importManualNumberedScore, kCtrl, 'Q'},
    {1, "导入自动弹奏曲谱", "Ctrl+A", importAutoNumberedScore, kCtrl, 'A'},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "-", nullptr, kNone, 0, 0},
    {0, "帮助", nullptr, kNone, 0, 0},
    {1, "使用帮助", "Ctrl+H", openHelp, kCtrl, 'H'},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "-", nullptr, kNone, 0, 0},
    {1, "-", nullptr, kNone, 0, 0},
    {0, "关于", nullptr, kNone, 0, 0},
    {1, "关于软件", "Ctrl+G", openAbout, kCtrl, 'G'},
};

bool isSeparator(const MenuRow& row) { return std::strcmp(row.text, "-") == 0; }

bool hasChildren(std::span<const MenuRow> rows, std::size_t i) {
    return i + 1 < rows.size() && rows[i + 1].depth > rows[i].depth;
}

// Appends rows[i..] at `depth` to `menu` until a row of lower depth; returns
// the index after the last row used.
std::size_t appendItems(HMENU menu, std::span<const MenuRow> rows, std::size_t i, int depth) {
    while (i < rows.size() && rows[i].depth == depth) {
        const MenuRow& row = rows[i];
        if (isSeparator(row)) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ++i;
        } else if (hasChildren(rows, i)) {
            HMENU sub = CreatePopupMenu();
            i = appendItems(sub, rows, i + 1, depth + 1);
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                        win32::toWide(row.text).c_str());
        } else {
            std::string label = row.text;
            if (row.shortcut) (label += '\t') += row.shortcut;
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(row.command), win32::toWide(label.c_str()).c_str());
            ++i;
        }
    }
    return i;
}

}  // namespace

std::span<const MenuRow> mainMenuRows() { return kRows; }

HMENU buildMenuBar() {
    HMENU bar = CreateMenu();
    appendItems(bar, kRows, 0, 0);
    return bar;
}

HMENU buildPopupMenu(const char* title) {
    const std::span<const MenuRow> rows = kRows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (std::strcmp(rows[i].text, title) == 0 && hasChildren(rows, i)) {
            HMENU popup = CreatePopupMenu();
            appendItems(popup, rows, i + 1, rows[i].depth + 1);
            return popup;
        }
    }
    return nullptr;
}

HACCEL buildAccelerators() {
    std::vector<ACCEL> keys;
    for (const auto& row : kRows) {
        if (row.key != 0) keys.push_back({row.keyFlags, row.key, static_cast<WORD>(row.command)});
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace morvane
