// Morvane on a screen set to 144 DPI (150 %): every window, control and
// font that the layout gives in pixels is one and a half times as large,
// and still works as at 96 DPI.  Runs in a prefix of its own whose
// LogPixels is 144, on a desktop large enough for the larger windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>

#include "morvane_fixture.h"
#include "windows/about_window.h"
#include "windows/help_window_controls.h"

namespace morvane::gui {
namespace {

constexpr wchar_t kHelpClass[] = L"MorvaneHelpWindow";
constexpr wchar_t kAboutClass[] = L"MorvaneAboutWindow";

// One and a half times a length of the layout, to the nearest pixel; a
// length ending in a half pixel may go either way.
::testing::AssertionResult isOneAndAHalf(long actual, int layout) {
    if (std::abs(actual - 1.5 * layout) <= 0.5) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not 1.5 x " << layout << " = " << 1.5 * layout;
}

// Where a control lies in its parent's client area, and how large it is.
struct Placement {
    long x, y, width, height;
};

Placement placementOf(HWND control) {
    const RECT rect = windowRect(control);
    const RECT parent = clientRect(GetParent(control));
    return {rect.left - parent.left, rect.top - parent.top, sizeOf(rect).cx, sizeOf(rect).cy};
}

void expectScaledPlacement(HWND control, int x, int y, int width, int height) {
    const Placement p = placementOf(control);
    EXPECT_TRUE(isOneAndAHalf(p.x, x)) << "left of " << describe(control);
    EXPECT_TRUE(isOneAndAHalf(p.y, y)) << "top of " << describe(control);
    EXPECT_TRUE(isOneAndAHalf(p.width, width)) << "width of " << describe(control);
    EXPECT_TRUE(isOneAndAHalf(p.height, height)) << "height of " << describe(control);
}

// The outer size, and centred on the whole screen.
void expectCentredWithSize(HWND window, int width, int height) {
    const RECT outer = windowRect(window);
    EXPECT_EQ(sizeOf(outer).cx, width) << describe(window);
    EXPECT_EQ(sizeOf(outer).cy, height) << describe(window);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - sizeOf(outer).cx) / 2) << describe(window);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - sizeOf(outer).cy) / 2) << describe(window);
}

int countPixels(const Image& image, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) count += image.at(x, y) == colour;
    return count;
}

class HighDpiTest : public MorvaneTest {
protected:
    void SetUp() override {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, 144) << "this suite needs the prefix whose screen is at 144 DPI";
        MorvaneTest::SetUp();
    }

    // Opens the help or the about window with its shortcut.
    HWND openWith(char key, const wchar_t* windowClass) {
        focus(control(MainControl::编辑框1));
        pressKey(control(MainControl::编辑框1), key, kCtrl);
        return program().waitForWindow(windowClass);
    }
};

TEST_F(HighDpiTest, MainWindowAndEveryControlAreOneAndAHalfTimesTheirSize) {
    expectCentredWithSize(mainWindow(), 1293, 807);

    LOGFONTW stock{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (const ControlRow& row : mainWindowControls()) {
        SCOPED_TRACE(row.text);
        HWND hwnd = control(row.id);
        expectScaledPlacement(hwnd, row.x, row.y, row.width, row.height);
        const Font font = fontOf(hwnd);
        if (row.traits & kBigFont) {
            EXPECT_TRUE(isOneAndAHalf(-font.height, 19)) << describe(hwnd);
            EXPECT_EQ(font.weight, (row.traits & kBold) ? FW_BOLD : FW_NORMAL) << describe(hwnd);
            EXPECT_EQ(font.charset, GB2312_CHARSET) << describe(hwnd);
        } else {
            // The system's own GUI font, which the system already sizes for
            // its DPI; scaling it again would make it too large.
            EXPECT_EQ(font.height, stock.lfHeight) << describe(hwnd);
        }
    }
    EXPECT_LT(stock.lfHeight, -11) << "the system's GUI font grows with the DPI";
    saveScreenshot(mainWindow(), L"page1-empty");
}

TEST_F(HighDpiTest, ConvertsAndShowsTheLargerTextOnBothPages) {
    typeInto(MainControl::编辑框1, L"1 2 3 4 5 6 7 0\r\n(1) [2] 3 4");
    click(control(MainControl::按钮1));
    waitForMessageBox(pid()).pressEnter();
    waitUntil([&] { return !textOf(control(MainControl::编辑框2)).empty(); }, "the manual score");
    EXPECT_EQ(clipboardBytes(CF_TEXT).value_or(""), gbk(textOf(control(MainControl::编辑框2))) + '\0');
    saveScreenshot(mainWindow(), L"page1");

    // The box lays its text out in the larger font, not in a small one
    // stretched afterwards: its lines are as far apart as that font's.
    const HWND box = control(MainControl::编辑框2);
    const auto secondLine = static_cast<WPARAM>(SendMessageW(box, EM_LINEINDEX, 1, 0));
    const int firstTop = HIWORD(SendMessageW(box, EM_POSFROMCHAR, 0, 0));
    const int secondTop = HIWORD(SendMessageW(box, EM_POSFROMCHAR, secondLine, 0));
    EXPECT_GE(secondTop - firstTop, 28) << "distance between the manual score's lines";

    showPage(1);
    typeInto(MainControl::编辑框4, L"1 2 3");
    saveScreenshot(mainWindow(), L"page2");
}

TEST_F(HighDpiTest, HelpWindowFitsItsTabsAtTheLargerSize) {
    HWND help = openWith('H', kHelpClass);
    expectCentredWithSize(help, 1146, 738);
    auto helpControl = [&](HelpControl id) { return findControl(help, static_cast<int>(id)); };
    // The resize rule, with its margins at the larger size too.
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹1))).cx, 1146 - 30);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹1))).cy, 738 - 75);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹2))).cx, 1146 - 60);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹2))).cy, 738 - 150);
    for (const HelpRow& row : helpWindowControls()) {
        HWND hwnd = helpControl(row.id);
        const Placement p = placementOf(hwnd);
        EXPECT_TRUE(isOneAndAHalf(p.x, row.x)) << describe(hwnd);
        EXPECT_TRUE(isOneAndAHalf(p.y, row.y)) << describe(hwnd);
        if (row.id != HelpControl::选择夹1 && row.id != HelpControl::选择夹2) {
            EXPECT_TRUE(isOneAndAHalf(p.width, row.width)) << describe(hwnd);
            EXPECT_TRUE(isOneAndAHalf(p.height, row.height)) << describe(hwnd);
        }
        if (row.font != HelpFont::gui) {
            const Font font = fontOf(hwnd);
            EXPECT_TRUE(isOneAndAHalf(-font.height, row.font == HelpFont::bold宋体19 ? 19 : 16)) << describe(hwnd);
        }
    }
    saveScreenshot(help, L"help-step1");
    click(helpControl(HelpControl::选择框夹2按钮1));
    waitUntil([&] { return isVisible(helpControl(HelpControl::选择框夹2按钮2)); }, "the second step");
    click(helpControl(HelpControl::选择框夹2按钮2));
    waitUntil([&] { return isVisible(helpControl(HelpControl::透明标签1)); }, "the third step");
    // Both texts of the step drawn, each in its colour, before the picture.
    for (const HelpControl label : {HelpControl::透明标签1, HelpControl::透明标签2}) {
        const COLORREF colour = label == HelpControl::透明标签1 ? RGB(255, 80, 128) : RGB(88, 48, 224);
        waitUntil([&] { return countPixels(capture(helpControl(label)), colour) > 200; }, "the step's text");
    }
    saveScreenshot(help, L"help-step3");
}

TEST_F(HighDpiTest, AboutWindowIsOneAndAHalfTimesItsSize) {
    HWND about = openWith('G', kAboutClass);
    expectCentredWithSize(about, 555, 213);
    expectScaledPlacement(findControl(about, static_cast<int>(AboutControl::标签1)), 23, 19, 328, 104);
    HWND close = findControl(about, static_cast<int>(AboutControl::按钮1));
    expectScaledPlacement(close, 269, 88, 80, 32);
    saveScreenshot(nullptr, L"about");
    click(close);
    waitUntil([&] { return !IsWindow(about); }, "the about window to close");
}

}  // namespace
}  // namespace morvane::gui
