#include "windows/help_window_controls.h"

#include "windows/help_texts.h"

namespace morvane {

namespace {

using enum HelpControl;
using enum HelpKind;
using enum HelpFont;

constexpr HelpRow kRows[] = {
    {选择夹1, tabControl, none, 0, 8, 8, 744, 448, "手工弹奏曲谱转换说明|自动弹奏曲谱转换说明", 0, gui, nullptr},
    // "手工弹奏曲谱转换说明": three steps
    {选择夹2, tabControl, 选择夹1, 0, 8, 16, 728, 416, "第一步|第二步|第三步", 0, gui, nullptr},
    {图片框2, picture, 选择夹2, 0, 8, 24, 696, 352, "", 0, gui, L"HELP_KEYBOARD"},
    {选择框夹2按钮1, button, 选择夹2, 0, 600, 328, 96, 32, "下一步", 0, gui, nullptr},
    {图片框3, picture, 选择夹2, 1, 16, 32, 704, 360, "", 0, gui, L"HELP_EXAMPLE"},
    {选择框夹2按钮2, button, 选择夹2, 1, 608, 328, 96, 32, "下一步", 0, gui, nullptr},
    {透明标签1, transparentLabel, 选择夹2, 2, 8, 112, 712, 88, kHelpKeyText, RGB(255, 80, 128), bold宋体19, nullptr},
    {透明标签2, transparentLabel, 选择夹2, 2, 327, 224, 337, 88, "接下来就是转换，保存了。。", RGB(88, 48, 224),
     bold宋体19, nullptr},
    {选择框夹2按钮3, button, 选择夹2, 2, 592, 312, 96, 32, "结束帮助", 0, gui, nullptr},
    // "自动弹奏曲谱转换说明": the steps and the codes
    {选择夹3, tabControl, 选择夹1, 1, 16, 24, 712, 408, "帮助|代码解释", 0, gui, nullptr},
    {透明标签3, transparentLabel, 选择夹3, 0, 22, 32, 664, 24, "第一步：抄数字", RGB(255, 0, 0), gui, nullptr},
    {透明标签4, transparentLabel, 选择夹3, 0, 22, 66, 600, 24, "第二步：加代码", RGB(255, 0, 0), gui, nullptr},
    {透明标签5, transparentLabel, 选择夹3, 0, 22, 100, 600, 24, "第三步：转换", RGB(255, 0, 0), gui, nullptr},
    {透明标签6, transparentLabel, 选择夹3, 0, 22, 136, 600, 48, "第四步：保存，并且复制到自动弹奏器使用",
     RGB(255, 0, 0), gui, nullptr},
    {透明标签7, transparentLabel, 选择夹3, 1, 16, 32, 688, 248, kHelpCodeText, RGB(0, 128, 0), bold宋体16, nullptr},
    {透明标签8, transparentLabel, 选择夹3, 1, 25, 318, 664, 62, kHelpClosingText, RGB(255, 0, 0), bold宋体16,
     nullptr},
};

}  // namespace

std::span<const HelpRow> helpWindowControls() { return kRows; }

}  // namespace morvane
