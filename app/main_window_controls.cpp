#include "app/main_window_controls.h"

namespace morvane {

namespace {

using enum MainControl;
using enum ControlKind;
using enum Place;

constexpr unsigned kBigBox = kMultiLine | kSingleBorder | kBigFont;

constexpr ControlRow kControls[] = {
    {选择夹1, tabControl, window, 2, -2, 848, 488, "", 0},
    // Page "手动曲谱转换"
    {透明标签2, transparentLabel, page1, 358, 18, 56, 24, "自动数谱", 0},
    {编辑框1, edit, page1, 8, 43, 832, 183, "", kBigBox},
    {透明标签3, transparentLabel, page1, 358, 226, 56, 16, "手动曲谱", 0},
    {编辑框2, edit, page1, 8, 242, 832, 200, "", kBigBox | kReadOnly | kBold},
    {透明标签1, transparentLabel, page1, 8, 458, 88, 24, "请输入曲谱名称", 0},
    {编辑框3, edit, page1, 99, 453, 176, 24, "", kSunkenBorder},
    {按钮1, button, page1, 288, 455, 38, 24, "转换", 0},
    {按钮2, button, page1, 337, 454, 61, 24, "保存曲谱", 0},
    {按钮5, button, page1, 600, 456, 61, 24, "导入数谱", 0},
    // Page "自动曲谱转换"
    {透明标签4, transparentLabel, page2, 368, 19, 64, 24, "数字简谱", 0},
    {编辑框4, edit, page2, 8, 48, 832, 183, "", kBigBox},
    {透明标签6, transparentLabel, page2, 368, 231, 64, 24, "自动曲谱", 0},
    {编辑框5, edit, page2, 9, 256, 832, 194, "", kBigBox},
    {编辑框6, edit, page2, 472, 128, 832, 183, "", kBigBox | kNeverShown},
    {透明标签7, transparentLabel, page2, 16, 456, 88, 24, "请输入曲谱名称", 0},
    {编辑框7, edit, page2, 110, 458, 152, 24, "", kSunkenBorder},
    {按钮4, button, page2, 272, 457, 88, 24, "转换", 0},
    {按钮3, button, page2, 382, 457, 104, 24, "保存曲谱", 0},
    {按钮6, button, page2, 608, 456, 61, 24, "导入数谱", 0},
    // In front of the tab control, on both pages
    {透明标签5, transparentLabel, window, 688, 450, 48, 32, "版本号：", 0},
    {标签1, label, window, 744, 448, 24, 32, "1", 0},
};

}  // namespace

std::span<const ControlRow> mainWindowControls() { return kControls; }

}  // namespace morvane
