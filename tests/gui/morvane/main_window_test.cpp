// The main window as a person uses it: its layout, menus, shortcuts, the
// keyboard rules and the manual conversion with its message and clipboard.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "morvane_fixture.h"

namespace morvane::gui {
namespace {

class MainWindowTest : public MorvaneTest {};

bool hasPopupMenu(DWORD pid) { return !topWindowsOf(pid, L"#32768").empty(); }

struct ExpectedItem {
    const wchar_t* text;
    Command command;
};

void expectItems(const std::vector<MenuItem>& items, std::initializer_list<ExpectedItem> expected) {
    ASSERT_EQ(items.size(), expected.size());
    std::size_t i = 0;
    for (const ExpectedItem& e : expected) {
        EXPECT_EQ(utf8(items[i].text), utf8(e.text));
        EXPECT_EQ(static_cast<Command>(items[i].id), e.command) << utf8(e.text);
        ++i;
    }
}

TEST_F(MainWindowTest, OpensCentredWithItsFixedFrameAndTitle) {
    const RECT outer = windowRect(mainWindow());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(sizeOf(outer).cx, 862);
    EXPECT_EQ(sizeOf(outer).cy, 538);
    EXPECT_EQ(outer.left, (screenWidth - 862) / 2);
    EXPECT_EQ(outer.top, (screenHeight - 538) / 2);

    const DWORD style = styleOf(mainWindow());
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(exStyleOf(mainWindow()) & WS_EX_TOPMOST);
    EXPECT_EQ(utf8(textOf(mainWindow())), utf8(kMainWindowTitle));
    EXPECT_EQ(textOf(control(MainControl::标签1)), L"4");
    EXPECT_EQ(currentPage(), 0);
    waitUntil([&] { return focusOf(pid()) == control(MainControl::编辑框1); }, "the score box to have the focus");
    saveScreenshot(mainWindow(), L"page1");
}

// Every control stands where the layout puts it, relative to its parent's
// client area (the tab control for the controls of a page).
TEST_F(MainWindowTest, PlacesEveryControlOfTheLayout) {
    for (const ControlRow& row : mainWindowControls()) {
        SCOPED_TRACE(row.text);
        HWND hwnd = control(row.id);
        const RECT rect = windowRect(hwnd);
        const RECT parent = clientRect(GetParent(hwnd));
        EXPECT_EQ(rect.left - parent.left, row.x) << describe(hwnd);
        EXPECT_EQ(rect.top - parent.top, row.y) << describe(hwnd);
        EXPECT_EQ(sizeOf(rect).cx, row.width) << describe(hwnd);
        EXPECT_EQ(sizeOf(rect).cy, row.height) << describe(hwnd);
        const bool onPage = row.place != Place::window;
        EXPECT_EQ(GetParent(hwnd), onPage ? control(MainControl::选择夹1) : mainWindow()) << describe(hwnd);
        EXPECT_EQ(isVisible(hwnd), row.place != Place::page2 && !(row.traits & kNeverShown)) << describe(hwnd);
        if (row.kind == ControlKind::edit) {
            const DWORD style = styleOf(hwnd);
            EXPECT_EQ(bool(style & ES_MULTILINE), bool(row.traits & kMultiLine)) << describe(hwnd);
            EXPECT_EQ(bool(style & WS_VSCROLL), bool(row.traits & kMultiLine)) << describe(hwnd);
            EXPECT_EQ(bool(style & ES_READONLY), bool(row.traits & kReadOnly)) << describe(hwnd);
            EXPECT_EQ(bool(exStyleOf(hwnd) & WS_EX_CLIENTEDGE), bool(row.traits & kSunkenBorder)) << describe(hwnd);
            // The edit control draws a plain border itself, inside its
            // client area (it drops WS_BORDER): a dark line on the white box.
            if ((row.traits & kSingleBorder) && isVisible(hwnd)) {
                const COLORREF white = RGB(255, 255, 255);
                EXPECT_TRUE(eventually([&] {
                    return pixelAt(hwnd, {0, row.height / 2}) != white && pixelAt(hwnd, {4, row.height / 2}) == white;
                })) << describe(hwnd) << " has no plain frame";
            }
        }
        const Font font = fontOf(hwnd);
        if (row.traits & kBigFont) {
            EXPECT_EQ(font.height, -19) << describe(hwnd);
            EXPECT_EQ(font.charset, GB2312_CHARSET) << describe(hwnd);
            EXPECT_EQ(font.weight, (row.traits & kBold) ? FW_BOLD : FW_NORMAL) << describe(hwnd);
            EXPECT_EQ(font.face, L"") << describe(hwnd);
        } else {
            // The default GUI font's face and height, with Chinese.
            LOGFONTW stock{};
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
            EXPECT_EQ(font.height, stock.lfHeight) << describe(hwnd);
            EXPECT_EQ(font.face, stock.lfFaceName) << describe(hwnd);
            EXPECT_EQ(font.charset, GB2312_CHARSET) << describe(hwnd);
        }
        if (row.kind == ControlKind::button || row.kind == ControlKind::transparentLabel) {
            EXPECT_EQ(textOf(hwnd), wide(row.text)) << describe(hwnd);
        }
    }
}

TEST_F(MainWindowTest, SecondPageShowsItsControlsAndKeepsTheVersion) {
    showPage(1);
    for (const ControlRow& row : mainWindowControls()) {
        if (row.place == Place::window) continue;
        HWND hwnd = control(row.id);
        EXPECT_EQ(isVisible(hwnd), row.place == Place::page2 && !(row.traits & kNeverShown)) << describe(hwnd);
    }
    EXPECT_TRUE(isVisible(control(MainControl::标签1)));
    EXPECT_TRUE(isVisible(control(MainControl::透明标签5)));
    EXPECT_EQ(textOf(control(MainControl::标签1)), L"4");
    saveScreenshot(mainWindow(), L"page2");
    showPage(0);
    EXPECT_TRUE(isVisible(control(MainControl::编辑框1)));
    EXPECT_FALSE(isVisible(control(MainControl::编辑框4)));
}

TEST_F(MainWindowTest, MenuBarShowsEveryItemWithItsShortcut) {
    // text, or "-" for a separator; sub-items follow indented by depth
    struct Expected {
        int depth;
        const wchar_t* text;
        Command command;
    };
    using enum Command;
    const Expected expected[] = {
        {0, L"文件", {}},
        {1, L"手动弹奏谱保存", {}},
        {2, L"保存手动数谱\tCtrl+W", saveManualNumberedScore},
        {2, L"保存手动曲谱\tCtrl+E", saveManualScore},
        {1, L"自动弹奏谱保存", {}},
        {2, L"保存自动数谱\tCtrl+S", saveAutoNumberedScore},
        {2, L"保存自动曲谱\tCtrl+D", saveAutoScore},
        {1, L"-", {}},
        {1, L"退出\tF12", exitProgram},
        {1, L"-", {}},
        {1, L"-", {}},
        {0, L"导入", {}},
        {1, L"导入手动数字曲谱\tCtrl+Q", importManualNumberedScore},
        {1, L"导入自动弹奏曲谱\tCtrl+A", importAutoNumberedScore},
        {1, L"-", {}},
        {1, L"-", {}},
        {1, L"-", {}},
        {0, L"帮助", {}},
        {1, L"使用帮助\tCtrl+H", openHelp},
        {1, L"-", {}},
        {1, L"-", {}},
        {1, L"-", {}},
        {0, L"关于", {}},
        {1, L"关于软件\tCtrl+G", openAbout},
    };
    std::vector<Expected> seen;
    std::vector<std::wstring> texts;  // keeps the texts alive for `seen`
    texts.reserve(64);
    const auto walk = [&](const auto& self, const std::vector<MenuItem>& items, int depth) -> void {
        for (const MenuItem& item : items) {
            const bool separator = item.type & MFT_SEPARATOR;
            if (!separator) {
                EXPECT_FALSE(item.state & (MFS_GRAYED | MFS_CHECKED)) << utf8(item.text);
            }
            texts.push_back(separator ? L"-" : item.text);
            seen.push_back({depth, texts.back().c_str(), static_cast<Command>(item.id)});
            self(self, item.items, depth + 1);
        }
    };
    walk(walk, menuBarOf(mainWindow()), 0);
    ASSERT_EQ(seen.size(), std::size(expected));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].depth, expected[i].depth) << i;
        EXPECT_EQ(utf8(seen[i].text), utf8(expected[i].text)) << i;
        EXPECT_EQ(seen[i].command, expected[i].command) << utf8(expected[i].text);
    }
}

struct ConversionCase {
    const wchar_t* numbered;
    const wchar_t* manual;
};

TEST_F(MainWindowTest, ConvertsTheTypedScoreShowsItAndCopiesIt) {
    const ConversionCase cases[] = {
        {L"1 2 3 0 5", L"Q W E ---- T"},
        {L"5 3 2 1 | z b ！ @ | 0 6 5 3", L"T E W Q | A G 1 2 | ---- Y T E"},
        {L"！￥……", L"146"},
        {L"zxcvbnm ZXCVBNM", L"ASDFGHJ ASDFGHJ"},
        {L"1 2 3\r\n!@# 0", L"Q W E\r\n123 ----"},
        {L"8 9 q 譜V 小星星", L"8 9 q 譜F 小星星"},
    };
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.numbered));
        typeInto(MainControl::编辑框1, c.numbered);
        waitForText(control(MainControl::编辑框1), c.numbered);
        emptyClipboard();
        click(control(MainControl::按钮1));

        const MessageDialog box = waitForMessageBox(pid());
        EXPECT_EQ(box.title, L"提示");
        EXPECT_EQ(box.text, L"已复制，可以通过QQ等发送给好友了！");
        EXPECT_EQ(box.icon, Icon::None) << nameOf(box.icon);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_FALSE(isEnabled(mainWindow())) << "the box is modal for the whole program";
        // Result and clipboard are there before the box is answered.
        EXPECT_EQ(textOf(control(MainControl::编辑框2)), c.manual);
        EXPECT_EQ(clipboardBytes(CF_TEXT), gbk(c.manual) + '\0');
        EXPECT_EQ(clipboardUnicodeText(), std::wstring(c.manual));
        if (first) saveScreenshot(nullptr, L"message");
        first = false;
        box.pressEnter();
        waitForNoMessageBox(pid());
        waitUntil([&] { return isEnabled(mainWindow()); }, "the main window to take input again");
        EXPECT_EQ(textOf(control(MainControl::编辑框1)), c.numbered) << "the input stays";
    }
}

TEST_F(MainWindowTest, EmptyScoreStillReportsAndEmptiesTheClipboard) {
    emptyClipboard();
    click(control(MainControl::按钮1));
    const MessageDialog box = waitForMessageBox(pid());
    EXPECT_EQ(box.text, L"已复制，可以通过QQ等发送给好友了！");
    EXPECT_EQ(clipboardBytes(CF_TEXT), std::string(1, '\0'));
    EXPECT_EQ(clipboardUnicodeText(), std::wstring());
    EXPECT_EQ(textOf(control(MainControl::编辑框2)), L"");
    box.clickButton(IDOK);
    waitForNoMessageBox(pid());
}

TEST_F(MainWindowTest, ResultBoxIsReadOnlyButSelectable) {
    typeInto(MainControl::编辑框1, L"1 2 3");
    click(control(MainControl::按钮1));
    waitForMessageBox(pid()).pressEnter();
    waitForNoMessageBox(pid());

    HWND result = control(MainControl::编辑框2);
    click(result);
    typeText(result, L"abc\n");
    EXPECT_FALSE(eventually([&] { return textOf(result) != L"Q W E"; }, 300ms)) << "typing changed the box";
    pressKey(result, VK_HOME, kCtrl);
    pressKey(result, VK_END, kCtrl | kShift);
    emptyClipboard();
    pressKey(result, 'C', kCtrl);
    waitUntil([] { return clipboardUnicodeText() == std::wstring(L"Q W E"); }, "the selection on the clipboard");
}

// Ctrl+A is the program's shortcut for an import; the box never sees it, so
// it does not select its text.
TEST_F(MainWindowTest, ShortcutsActBeforeTheEditBox) {
    typeInto(MainControl::编辑框1, L"1234");
    HWND edit = control(MainControl::编辑框1);
    pressKey(edit, VK_END);
    pressKey(edit, 'A', kCtrl);
    EXPECT_FALSE(eventually([&] { return SendMessageW(edit, EM_GETSEL, 0, 0) == MAKELONG(0, 4); }, 300ms))
        << "Ctrl+A selected the text";
    EXPECT_EQ(textOf(edit), L"1234");
}

TEST_F(MainWindowTest, TabMovesTheFocusOutOfBoxesAndEnterDoesNot) {
    HWND numbered = control(MainControl::编辑框1);
    typeInto(MainControl::编辑框1, L"12");
    pressKey(numbered, VK_TAB);
    waitUntil([&] { return focusOf(pid()) == control(MainControl::编辑框2); }, "the focus on the result box");
    EXPECT_EQ(textOf(numbered), L"12") << "no tab character typed";
    pressKey(control(MainControl::编辑框2), VK_TAB, kShift);
    waitUntil([&] { return focusOf(pid()) == numbered; }, "the focus back on the score box");

    // On through the page: the name box, then the three buttons.
    const MainControl order[] = {MainControl::编辑框2, MainControl::编辑框3, MainControl::按钮1, MainControl::按钮2,
                                 MainControl::按钮5};
    for (MainControl next : order) {
        pressKey(focusOf(pid()), VK_TAB);
        waitUntil([&] { return focusOf(pid()) == control(next); }, "the next control");
    }

    HWND name = control(MainControl::编辑框3);
    focus(name);
    typeText(name, L"小星星\n");
    waitForText(name, L"小星星");
    EXPECT_FALSE(eventually([&] { return focusOf(pid()) != name; }, 300ms)) << "Enter moved the focus";
}

TEST_F(MainWindowTest, SaveButtonOpensItsMenuOnTheReleaseOnly) {
    HWND save = control(MainControl::按钮2);
    const POINT at = centreOf(save);
    activate(mainWindow());
    moveTo(at);
    mouseDown(at);
    EXPECT_FALSE(eventually([&] { return hasPopupMenu(pid()); }, 300ms)) << "the press opened a menu";
    mouseUp(at);
    HWND popup = waitForPopupMenu(pid());
    const RECT rect = windowRect(popup);
    EXPECT_EQ(rect.left, at.x + 3);
    EXPECT_EQ(rect.top, at.y + 3);
    saveScreenshot(nullptr, L"popup");
    expectItems(menuOf(popup), {{L"保存手动数谱\tCtrl+W", Command::saveManualNumberedScore},
                                {L"保存手动曲谱\tCtrl+E", Command::saveManualScore}});

    pressKey(mainWindow(), VK_ESCAPE);
    waitUntil([&] { return !hasPopupMenu(pid()); }, "the menu to close");
    EXPECT_TRUE(program().running()) << "Esc in the menu must not close the window";

    // The space bar clicks the button without a release of the mouse: no menu.
    focus(save);
    pressKey(save, VK_SPACE);
    EXPECT_FALSE(eventually([&] { return hasPopupMenu(pid()); }, 300ms)) << "the space bar opened a menu";
}

TEST_F(MainWindowTest, AutoSaveButtonOpensTheAutoMenu) {
    showPage(1);
    HWND save = control(MainControl::按钮3);
    const POINT at = centreOf(save);
    activate(mainWindow());
    moveTo(at);
    mouseDown(at);
    mouseUp(at);
    HWND popup = waitForPopupMenu(pid());
    expectItems(menuOf(popup), {{L"保存自动数谱\tCtrl+S", Command::saveAutoNumberedScore},
                                {L"保存自动曲谱\tCtrl+D", Command::saveAutoScore}});
    pressKey(mainWindow(), VK_ESCAPE);
    waitUntil([&] { return !hasPopupMenu(pid()); }, "the menu to close");
}

// Ways out of the program, each with the exit code 0.
struct WayOut {
    const char* name;
    MainControl focusOn;
    WORD key;
    Modifiers modifiers;
};

class EndTest : public MorvaneTest, public ::testing::WithParamInterface<WayOut> {};

TEST_P(EndTest, EndsWithExitCodeZero) {
    const WayOut& way = GetParam();
    HWND target = control(way.focusOn);
    focus(target);
    typeText(target, L"1 2 3");
    pressKey(target, way.key, way.modifiers);
    EXPECT_EQ(program().waitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndTest,
                         ::testing::Values(WayOut{"F12", MainControl::编辑框1, VK_F12, kNoModifier},
                                           WayOut{"EscInScoreBox", MainControl::编辑框1, VK_ESCAPE, kNoModifier},
                                           WayOut{"EscInNameBox", MainControl::编辑框3, VK_ESCAPE, kNoModifier},
                                           WayOut{"AltF4", MainControl::编辑框3, VK_F4, kAlt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ExitMenuItemEndsTheProgram) {
    // F10 selects the menu bar, Down opens 文件; Up from its first item wraps
    // to its last item, 退出, over the trailing separators.
    pressKey(mainWindow(), VK_F10);
    pressKey(mainWindow(), VK_DOWN);
    waitUntil([&] { return hasPopupMenu(pid()); }, "the file menu");
    pressKey(mainWindow(), VK_UP);
    pressKey(mainWindow(), VK_RETURN);
    EXPECT_EQ(program().waitForExit(), 0u);
}

}  // namespace
}  // namespace morvane::gui
