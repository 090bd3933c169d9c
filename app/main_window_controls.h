// The main window's controls, as data: one row per control, in creation
// order.  GUI tests find controls by these ids.
#pragma once

#include <span>

namespace morvane {

enum class MainControl : int {
    选择夹1 = 1001,
    透明标签2,
    编辑框1,
    透明标签3,
    编辑框2,
    透明标签1,
    编辑框3,
    按钮1,
    按钮2,
    按钮5,
    透明标签4,
    编辑框4,
    透明标签6,
    编辑框5,
    编辑框6,
    透明标签7,
    编辑框7,
    按钮4,
    按钮3,
    按钮6,
    透明标签5,
    标签1,
};

enum class ControlKind { tabControl, transparentLabel, label, edit, button };

// Where a control lives: on the window itself, or on one page of 选择夹1
// (then positioned relative to the tab control's top-left corner).
enum class Place { window, page1, page2 };

// Edit box properties.
enum EditTraits : unsigned {
    kMultiLine = 1u << 0,    // Enter breaks lines, vertical scroll bar
    kReadOnly = 1u << 1,
    kSingleBorder = 1u << 2, // plain one-pixel frame
    kSunkenBorder = 1u << 3, // 3-D client edge
    kBigFont = 1u << 4,      // height 19, GB2312, system face
    kBold = 1u << 5,
    kNeverShown = 1u << 6,
};

struct ControlRow {
    MainControl id;
    ControlKind kind;
    Place place;
    int x, y, width, height;
    const char* text;  // GBK
    unsigned traits;
};

std::span<const ControlRow> mainWindowControls();

inline constexpr int kMainWindowWidth = 862;
inline constexpr int kMainWindowHeight = 538;

}  // namespace morvane
