// The help window beside the main window, and the about window in dialog
// mode, as a person uses them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "morvane_fixture.h"
#include "windows/about_window.h"
#include "windows/help_window_controls.h"

namespace morvane::gui {
namespace {

constexpr wchar_t kHelpClass[] = L"MorvaneHelpWindow";
constexpr wchar_t kAboutClass[] = L"MorvaneAboutWindow";

// Input reaches the windows in the order it was made, so a click, not a
// focus change behind the scenes, is what moves the user from one window to
// the other before a key.
class HelpAboutTest : public MorvaneTest {
protected:
    HWND openHelp() {
        focus(control(MainControl::编辑框1));
        pressKey(control(MainControl::编辑框1), 'H', kCtrl);
        help_ = program().waitForWindow(kHelpClass);
        return help_;
    }
    HWND helpControl(HelpControl id) const { return findControl(help_, static_cast<int>(id)); }
    int pageOf(HelpControl tab) const {
        return static_cast<int>(SendMessageW(helpControl(tab), TCM_GETCURSEL, 0, 0));
    }
    HWND openAbout() {
        backToMainWindow();
        pressKey(control(MainControl::编辑框1), 'G', kCtrl);
        return program().waitForWindow(kAboutClass);
    }

    // A real click on the score box's left edge, which the centred help
    // window leaves uncovered, as a person would switch windows.
    void backToMainWindow() {
        const RECT box = windowRect(control(MainControl::编辑框1));
        const POINT at{box.left + 12, (box.top + box.bottom) / 2};
        moveTo(at);
        mouseDown(at);
        mouseUp(at);
        waitUntil([&] { return focusOf(pid()) == control(MainControl::编辑框1); }, "the score box to have the focus");
    }

    HWND help_ = nullptr;
};

TEST_F(HelpAboutTest, HelpOpensCentredWithItsTabsFitted) {
    openHelp();
    const RECT outer = windowRect(help_);
    EXPECT_EQ(sizeOf(outer).cx, 764);
    EXPECT_EQ(sizeOf(outer).cy, 492);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 764) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 492) / 2);
    EXPECT_EQ(textOf(help_), L"帮助");
    EXPECT_EQ(ownerOf(help_), nullptr) << "its own taskbar button";
    EXPECT_FALSE(exStyleOf(help_) & WS_EX_TOOLWINDOW);
    const DWORD style = styleOf(help_);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(isEnabled(mainWindow())) << "the help window is modeless";
    // The resize rule ran before the window was shown.
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹1))).cx, 744);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹1))).cy, 442);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹2))).cx, 724);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹2))).cy, 392);
    EXPECT_EQ(sizeOf(windowRect(helpControl(HelpControl::选择夹3))).cx, 712) << "the rule leaves it alone";

    // Every control where the layout puts it, with its text.
    for (const HelpRow& row : helpWindowControls()) {
        HWND hwnd = helpControl(row.id);
        const RECT rect = windowRect(hwnd);
        const RECT parent = clientRect(GetParent(hwnd));
        EXPECT_EQ(rect.left - parent.left, row.x) << describe(hwnd);
        EXPECT_EQ(rect.top - parent.top, row.y) << describe(hwnd);
        if (row.kind == HelpKind::transparentLabel || row.kind == HelpKind::button) {
            EXPECT_EQ(utf8(textOf(hwnd)), row.text) << describe(hwnd);
        }
        if (row.font != HelpFont::gui) {
            const Font font = fontOf(hwnd);
            EXPECT_EQ(font.height, row.font == HelpFont::bold宋体19 ? -19 : -16) << describe(hwnd);
            EXPECT_EQ(font.weight, FW_BOLD) << describe(hwnd);
            EXPECT_EQ(font.face, L"宋体") << describe(hwnd);
        }
    }
    EXPECT_TRUE(isVisible(helpControl(HelpControl::图片框2)));
    EXPECT_FALSE(isVisible(helpControl(HelpControl::图片框3)));
    EXPECT_FALSE(isVisible(helpControl(HelpControl::透明标签3)));
    saveScreenshot(help_, L"step1");
}

TEST_F(HelpAboutTest, StepButtonsWalkThroughAndEndTheHelp) {
    openHelp();
    click(helpControl(HelpControl::选择框夹2按钮1));
    waitUntil([&] { return pageOf(HelpControl::选择夹2) == 1; }, "the second step");
    waitUntil([&] { return isVisible(helpControl(HelpControl::图片框3)); }, "the second picture");
    EXPECT_FALSE(isVisible(helpControl(HelpControl::图片框2)));
    saveScreenshot(help_, L"step2");
    click(helpControl(HelpControl::选择框夹2按钮2));
    waitUntil([&] { return pageOf(HelpControl::选择夹2) == 2; }, "the third step");
    waitUntil([&] { return isVisible(helpControl(HelpControl::透明标签1)); }, "the key text");
    saveScreenshot(help_, L"step3");
    click(helpControl(HelpControl::选择框夹2按钮3));
    waitUntil([&] { return !IsWindow(help_); }, "the help window to close");
    EXPECT_TRUE(program().running());
    EXPECT_TRUE(isVisible(mainWindow()));
}

TEST_F(HelpAboutTest, AutoPagesShowTheStepsAndTheCodes) {
    openHelp();
    const RECT tabs = clientRect(helpControl(HelpControl::选择夹1));
    // The second tab of the outer control ("自动弹奏曲谱转换说明").
    const POINT second{tabs.left + 190, tabs.top + 10};
    activate(help_);
    moveTo(second);
    mouseDown(second);
    mouseUp(second);
    waitUntil([&] { return pageOf(HelpControl::选择夹1) == 1; }, "the auto pages");
    waitUntil([&] { return isVisible(helpControl(HelpControl::透明标签3)); }, "the four steps");
    saveScreenshot(help_, L"auto-steps");
    const RECT inner = clientRect(helpControl(HelpControl::选择夹3));
    const POINT codes{inner.left + 60, inner.top + 10};
    moveTo(codes);
    mouseDown(codes);
    mouseUp(codes);
    waitUntil([&] { return isVisible(helpControl(HelpControl::透明标签7)); }, "the codes");
    saveScreenshot(help_, L"auto-codes");
}

TEST_F(HelpAboutTest, SecondOpeningRestoresTheMinimisedWindowAsItWas) {
    openHelp();
    click(helpControl(HelpControl::选择框夹2按钮1));
    waitUntil([&] { return pageOf(HelpControl::选择夹2) == 1; }, "the second step");
    PostMessageW(help_, WM_SYSCOMMAND, SC_MINIMIZE, 0);  // its minimise box
    waitUntil([&] { return IsIconic(help_) != FALSE; }, "the help window to be minimised");
    backToMainWindow();
    pressKey(control(MainControl::编辑框1), 'H', kCtrl);
    waitUntil([&] { return !IsIconic(help_); }, "the help window to be restored");
    EXPECT_EQ(topWindowsOf(pid(), kHelpClass).size(), 1u) << "at most one help window";
    EXPECT_EQ(pageOf(HelpControl::选择夹2), 1) << "its pages as the user left them";
}

TEST_F(HelpAboutTest, EscInTheHelpWindowClosesOnlyIt) {
    openHelp();
    pressKey(helpControl(HelpControl::选择框夹2按钮1), VK_ESCAPE);
    waitUntil([&] { return !IsWindow(help_); }, "the help window to close");
    EXPECT_TRUE(program().running());
    EXPECT_TRUE(isVisible(mainWindow()));
}

TEST_F(HelpAboutTest, ClosingTheMainWindowLeavesTheHelpRunning) {
    openHelp();
    backToMainWindow();
    pressKey(control(MainControl::编辑框1), VK_ESCAPE);
    waitUntil([&] { return !IsWindow(mainWindow()); }, "the main window to close");
    EXPECT_FALSE(eventually([&] { return !program().running(); }, 500ms)) << "ended with the help window open";
    pressKey(helpControl(HelpControl::选择框夹2按钮1), VK_ESCAPE);
    EXPECT_EQ(program().waitForExit(), 0u);
}

TEST_F(HelpAboutTest, F12EndsTheProgramWithBothWindowsOpen) {
    openHelp();
    backToMainWindow();
    pressKey(control(MainControl::编辑框1), VK_F12);
    EXPECT_EQ(program().waitForExit(), 0u);
}

TEST_F(HelpAboutTest, AboutWindowIsModalOverEveryWindow) {
    openHelp();
    HWND about = openAbout();
    const RECT outer = windowRect(about);
    EXPECT_EQ(sizeOf(outer).cx, 370);
    EXPECT_EQ(sizeOf(outer).cy, 142);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 370) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 142) / 2);
    EXPECT_EQ(ownerOf(about), mainWindow());
    EXPECT_FALSE(styleOf(about) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    waitUntil([&] { return pixelAt(about, {5, 5}) == RGB(255, 128, 192); }, "the pink panel");
    HWND label = findControl(about, static_cast<int>(AboutControl::标签1));
    const std::wstring text = textOf(label);
    EXPECT_EQ(text.rfind(L"\r\n自己对着曲谱去写，然后在抄很累啊，有木有？\r\n所以方便你我他吧~~~！！\r\n\r\n\r\n", 0), 0u);
    EXPECT_NE(text.find(L"\r\n    欢迎大家找我一起玩！并且提出改进意见！"), std::wstring::npos);
    saveScreenshot(nullptr, L"about");

    EXPECT_FALSE(isEnabled(mainWindow()));
    EXPECT_FALSE(isEnabled(help_));
    // A click on either window does nothing meanwhile.
    const POINT onMain = centreOf(control(MainControl::按钮1));
    moveTo(onMain);
    mouseDown(onMain);
    mouseUp(onMain);
    const POINT onHelp = centreOf(helpControl(HelpControl::选择框夹2按钮1));
    moveTo(onHelp);
    mouseDown(onHelp);
    mouseUp(onHelp);
    EXPECT_FALSE(eventually([&] { return tryFindControl(about, static_cast<int>(AboutControl::按钮1)) == nullptr ||
                                         pageOf(HelpControl::选择夹2) != 0; },
                            300ms));
    EXPECT_TRUE(IsWindow(about));

    click(findControl(about, static_cast<int>(AboutControl::按钮1)));
    waitUntil([&] { return !IsWindow(about); }, "the about window to close");
    waitUntil([&] { return isEnabled(mainWindow()) && isEnabled(help_); }, "both windows to take input again");
    click(helpControl(HelpControl::选择框夹2按钮1));
    waitUntil([&] { return pageOf(HelpControl::选择夹2) == 1; }, "the help window to respond");
    click(control(MainControl::按钮1));
    waitForMessageBox(pid()).pressEnter();
}

TEST_F(HelpAboutTest, EscClosesTheAboutWindowFromItsButton) {
    HWND about = openAbout();
    HWND close = findControl(about, static_cast<int>(AboutControl::按钮1));
    waitUntil([&] { return focusOf(pid()) == close; }, "the focus on 关闭");
    pressKey(close, VK_ESCAPE);
    waitUntil([&] { return !IsWindow(about); }, "the about window to close");
    EXPECT_TRUE(program().running());
    waitUntil([&] { return isEnabled(mainWindow()); }, "the main window to take input again");
}

}  // namespace
}  // namespace morvane::gui
