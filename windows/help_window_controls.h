// The help window's controls, as data.  GUI tests find them by these ids.
#pragma once

#include <windows.h>

#include <span>

namespace morvane {

enum class HelpControl : int {
    none = 0,
    选择夹1 = 2001,
    选择夹2,
    图片框2,
    选择框夹2按钮1,
    图片框3,
    选择框夹2按钮2,
    透明标签1,
    透明标签2,
    选择框夹2按钮3,
    选择夹3,
    透明标签3,
    透明标签4,
    透明标签5,
    透明标签6,
    透明标签7,
    透明标签8,
};

enum class HelpKind { tabControl, picture, button, transparentLabel };
enum class HelpFont { gui, bold宋体19, bold宋体16 };

struct HelpRow {
    HelpControl id;
    HelpKind kind;
    HelpControl tab;  // the tab control whose page holds it; none: the window
    int page;         // 0-based page of `tab`
    int x, y, width, height;
    const char* text;          // GBK; for a tab control its pages, split by "|"
    COLORREF colour;           // of a transparent label's text
    HelpFont font;
    const wchar_t* picture;    // resource name of a picture box's image
};

std::span<const HelpRow> helpWindowControls();

inline constexpr int kHelpWindowWidth = 764;
inline constexpr int kHelpWindowHeight = 492;

}  // namespace morvane
