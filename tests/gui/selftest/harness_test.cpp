// The harness driving a program of its own, so that each capability is known
// to work under Wine before the real program's tests rely on it.
#include "harness/harness.h"
#include "selftest_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

using namespace morvane::gui;

std::string gbk(std::wstring_view text) {
    const int size = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string fileContent(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Prints how long a step took: the figures that the README quotes.
class Stopwatch {
public:
    explicit Stopwatch(const char* what) : what_(what), start_(std::chrono::steady_clock::now()) {}
    ~Stopwatch() {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
        std::printf("[timing] %s: %lld ms\n", what_, static_cast<long long>(ms.count()));
    }

private:
    const char* what_;
    std::chrono::steady_clock::time_point start_;
};

// Each test starts the program afresh in an empty folder of its own.
class SelfTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info->name();
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests
        folder_ = std::filesystem::temp_directory_path() / ("morvane-gui-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        {
            Stopwatch timing("start to window");
            program_ = std::make_unique<Program>(programPath(), L"", folder_.wstring());
            window_ = program_->waitForWindow(selftest::kWindowClass);
        }
        line_ = findControl(window_, selftest::kLine);
        notes_ = findControl(window_, selftest::kNotes);
        status_ = findControl(window_, selftest::kStatus);
    }

    void TearDown() override {
        program_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    DWORD pid() const { return program_->pid(); }
    HWND control(int id) const { return findControl(window_, id); }

    std::filesystem::path folder_;
    std::unique_ptr<Program> program_;
    HWND window_ = nullptr;
    HWND line_ = nullptr;
    HWND notes_ = nullptr;
    HWND status_ = nullptr;
};

// ---- Windows and reading ------------------------------------------------------

TEST_F(SelfTest, ReadsTheMainWindow) {
    EXPECT_EQ(utf8(textOf(window_)), utf8(selftest::kTitle));
    EXPECT_EQ(classOf(window_), selftest::kWindowClass);
    EXPECT_TRUE(isVisible(window_));
    EXPECT_TRUE(isEnabled(window_));
    EXPECT_TRUE(styleOf(window_) & WS_MINIMIZEBOX);
    EXPECT_FALSE(styleOf(window_) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(exStyleOf(window_) & WS_EX_TOPMOST);
    EXPECT_EQ(program_->topWindows(), std::vector<HWND>{window_});

    // The virtual desktop is the screen, and the program centres its window on it.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    const RECT frame = windowRect(window_);
    EXPECT_EQ(sizeOf(frame).cx, 620);
    EXPECT_EQ(sizeOf(frame).cy, 400);
    EXPECT_EQ(frame.left, (1280 - 620) / 2);
    EXPECT_EQ(frame.top, (1024 - 400) / 2);

    // Controls are found by id and by class and text, nested ones included,
    // with rectangles in screen coordinates.
    HWND copy = findControl(window_, L"Button", L"复制");
    EXPECT_EQ(controlId(copy), selftest::kCopy);
    EXPECT_EQ(rootOf(copy), window_);
    const RECT client = clientRect(window_);
    EXPECT_EQ(windowRect(copy).left - client.left, 420);
    EXPECT_EQ(windowRect(copy).top - client.top, 44);
    EXPECT_EQ(sizeOf(windowRect(copy)).cx, 80);
    EXPECT_TRUE(styleOf(notes_) & ES_MULTILINE);
    EXPECT_TRUE(exStyleOf(notes_) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(tryFindControl(window_, 999), nullptr);
    EXPECT_EQ(tryFindControl(window_, L"Button", L"没有"), nullptr);
    EXPECT_THROW(findControl(window_, 999), Failure);
}

TEST_F(SelfTest, ReadsTheMenuBar) {
    const auto bar = menuBarOf(window_);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(utf8(bar[0].text), "文件");
    ASSERT_EQ(bar[0].items.size(), 3u);
    EXPECT_EQ(utf8(bar[0].items[0].text), "保存(&S)\tCtrl+S");
    EXPECT_EQ(bar[0].items[0].id, static_cast<UINT>(selftest::kMenuSave));
    EXPECT_TRUE(bar[0].items[1].type & MFT_SEPARATOR);  // Wine reports it MFS_GRAYED too
    EXPECT_EQ(utf8(bar[0].items[2].text), "退出\tF12");
    EXPECT_EQ(utf8(bar[1].text), "编辑");
    ASSERT_EQ(bar[1].items.size(), 1u);
    EXPECT_EQ(utf8(bar[1].items[0].text), "复制\tCtrl+Shift+C");
    EXPECT_FALSE(bar[1].items[0].state & MFS_GRAYED);
}

TEST_F(SelfTest, ReadsFonts) {
    const Font big = fontOf(notes_);
    EXPECT_EQ(big.height, -19);
    EXPECT_EQ(big.weight, FW_BOLD);
    EXPECT_EQ(big.charset, GB2312_CHARSET);
    EXPECT_EQ(big.face, L"");
    EXPECT_FALSE(big.defaultGuiFont);
    const Font line = fontOf(line_);
    EXPECT_TRUE(line.defaultGuiFont);
    EXPECT_FALSE(line.systemFont);
    EXPECT_EQ(line.weight, FW_NORMAL);
}

TEST_F(SelfTest, ReadsAndUsesAPopupMenu) {
    focus(line_);
    typeText(line_, L"弹出");
    rightClick(control(selftest::kPad));
    HWND popup = waitForPopupMenu(pid());
    const auto items = menuOf(popup);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(utf8(items[0].text), "复制\tCtrl+Shift+C");
    EXPECT_EQ(items[0].id, static_cast<UINT>(selftest::kMenuCopy));
    EXPECT_FALSE(items[0].state & MFS_GRAYED);
    EXPECT_TRUE(items[1].type & MFT_SEPARATOR);
    EXPECT_TRUE(items[2].state & MFS_GRAYED);
    // The menu takes the keys while it is open.
    pressKey(window_, VK_DOWN);
    pressKey(window_, VK_RETURN);
    waitForText(status_, L"已复制");
    EXPECT_TRUE(topWindowsOf(pid(), L"#32768").empty());
}

// ---- Keyboard -------------------------------------------------------------------

TEST_F(SelfTest, TypesChineseIntoALine) {
    focus(line_);
    typeText(line_, L"中文 ABC，1/2；");
    waitForText(line_, L"中文 ABC，1/2；");
}

TEST_F(SelfTest, TypesLineBreaksAsEnter) {
    focus(notes_);
    typeText(notes_, L"第一行\n第二行\r\n第三行");
    waitForText(notes_, L"第一行\r\n第二行\r\n第三行");
}

TEST_F(SelfTest, TabAndShiftTabMoveTheFocus) {
    focus(line_);
    pressKey(window_, VK_TAB);
    waitUntil([&] { return focusOf(pid()) == control(selftest::kShowError); }, "the focus on the error button");
    pressKey(window_, VK_TAB);
    waitUntil([&] { return focusOf(pid()) == control(selftest::kAsk); }, "the focus on the question button");
    pressKey(window_, VK_TAB, kShift);
    pressKey(window_, VK_TAB, kShift);
    waitUntil([&] { return focusOf(pid()) == line_; }, "the focus back on the line");
}

TEST_F(SelfTest, FocusFailsClearlyWhenInputWouldGoElsewhere) {
    focus(line_);
    InputTimeout quick(300ms);
    try {
        typeText(notes_, L"x");
        FAIL() << "typing into a box without the focus went unnoticed";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("the focus is on Edit #101"), std::string::npos) << failure.what();
    }
    EXPECT_EQ(textOf(notes_), L"");
}

// The accelerators act whatever has the focus.
struct Shortcut {
    const char* name;
    WORD key;
    Modifiers modifiers;
    DWORD exitCode;
};

class ShortcutTest : public SelfTest, public ::testing::WithParamInterface<Shortcut> {};

TEST_P(ShortcutTest, EndsTheProgramWithItsExitCode) {
    focus(notes_);
    typeText(notes_, L"随便");
    pressKey(notes_, GetParam().key, GetParam().modifiers);
    EXPECT_EQ(program_->waitForExit(), GetParam().exitCode);
    EXPECT_FALSE(program_->running());
}

INSTANTIATE_TEST_SUITE_P(Keys, ShortcutTest,
                         ::testing::Values(Shortcut{"Esc", VK_ESCAPE, kNoModifier, 0},
                                           Shortcut{"F12", VK_F12, kNoModifier, selftest::kExitCodeF12}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Message boxes -----------------------------------------------------------------

TEST_F(SelfTest, ReadsATaskModalErrorBox) {
    click(control(selftest::kShowError));
    const MessageDialog box = waitForMessageBox(pid());
    EXPECT_EQ(utf8(box.title), "出错啦");
    EXPECT_EQ(utf8(box.text), "出了点问题\r\n请重试");
    EXPECT_EQ(box.icon, Icon::Error);
    EXPECT_EQ(box.owner, nullptr);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0].id, IDOK);
    // Task-modal: the main window takes no input while the box is open.
    EXPECT_FALSE(isEnabled(window_));
    EXPECT_EQ(foregroundWindow(), box.window);
    saveScreenshot(nullptr, L"error-box");
    // A click on the main window meanwhile is lost.
    click(control(selftest::kCopy));
    EXPECT_FALSE(eventually([&] { return textOf(status_) == L"已复制"; }, 300ms));
    EXPECT_EQ(waitForMessageBox(pid()).window, box.window);
    box.clickButton(IDOK);
    waitForNoMessageBox(pid());
    waitForText(status_, L"错误框返回 1");
    EXPECT_TRUE(isEnabled(window_));
}

TEST_F(SelfTest, ReadsAnOwnedQuestionBoxAndItsAnswers) {
    click(control(selftest::kAsk));
    MessageDialog box = waitForMessageBox(pid());
    EXPECT_EQ(utf8(box.title), "请确认");
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_EQ(box.owner, window_);
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].id, IDYES);
    EXPECT_EQ(box.buttons[1].id, IDNO);
    box.clickButton(IDNO);
    waitForText(status_, L"否");

    click(control(selftest::kAsk));
    box = waitForMessageBox(pid());
    box.clickButton(IDYES);
    waitForText(status_, L"是");
}

TEST_F(SelfTest, TellsABoxWithoutIcon) {
    click(control(selftest::kShowPlain));
    const MessageDialog box = waitForMessageBox(pid());
    EXPECT_EQ(utf8(box.text), "没有图标");
    EXPECT_EQ(box.icon, Icon::None);
    box.pressEnter();
    waitForText(status_, L"提示已关闭");
}

// Every way of answering closes the box with its button's result.
struct Answer {
    const char* name;
    void (*answer)(const MessageDialog&);
};

class AnswerTest : public SelfTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(AnswerTest, ClosesTheBox) {
    click(control(selftest::kShowError));
    const MessageDialog box = waitForMessageBox(pid());
    {
        Stopwatch timing("answer to closed box");
        GetParam().answer(box);
        waitForNoMessageBox(pid());
    }
    waitForText(status_, L"错误框返回 1");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AnswerTest,
    ::testing::Values(Answer{"Click", [](const MessageDialog& box) { box.clickButton(IDOK); }},
                      Answer{"Enter", [](const MessageDialog& box) { box.pressEnter(); }},
                      Answer{"Space", [](const MessageDialog& box) { pressKey(findControl(box.window, IDOK), VK_SPACE); }},
                      Answer{"Post", [](const MessageDialog& box) { box.post(IDOK); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelfTest, MessageBoxRoundTrip) {
    // The keyboard path to the button as well: Tab to it, space to press it.
    focus(line_);
    pressKey(window_, VK_TAB);
    waitUntil([&] { return focusOf(pid()) == control(selftest::kShowError); }, "the focus on the error button");
    for (int i = 0; i < 3; ++i) {
        Stopwatch timing("message box round trip");
        pressKey(control(selftest::kShowError), VK_SPACE);
        waitForMessageBox(pid()).clickButton(IDOK);
        waitForNoMessageBox(pid());
        waitForText(status_, L"错误框返回 1");
        SetWindowTextW(status_, L"");
    }
}

// ---- Mouse and pictures ------------------------------------------------------------

TEST_F(SelfTest, MouseLandsWhereAimed) {
    HWND pad = control(selftest::kPad);
    const RECT area = clientRect(pad);
    mouseDown({area.left + 10, area.top + 20});
    waitForText(status_, L"down 10,20");
    mouseUp({area.left + 199, area.top + 99});
    waitForText(status_, L"up 199,99");
    rightClick(pad);
    waitForText(status_, L"right 100,50");
}

TEST_F(SelfTest, ClickRefusesACoveredControl) {
    // A window of the test's own, kept in front of the copy button.
    HWND copy = control(selftest::kCopy);
    const RECT area = windowRect(copy);
    // Not a static: WindowFromPoint looks through those.
    WNDCLASSW coverClass{};
    coverClass.lpfnWndProc = DefWindowProcW;
    coverClass.lpszClassName = L"HarnessTestCover";
    RegisterClassW(&coverClass);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"HarnessTestCover", L"", WS_POPUP | WS_VISIBLE, area.left,
                                 area.top, sizeOf(area).cx, sizeOf(area).cy, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    InputTimeout quick(300ms);
    try {
        click(copy);
        ADD_FAILURE() << "a click on a covered button went through";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("is at its centre"), std::string::npos) << failure.what();
    }
    DestroyWindow(cover);
    EXPECT_EQ(textOf(status_), L"");
}

TEST_F(SelfTest, ReadsPixelsAndSavesScreenshots) {
    // On a loaded machine the screen may show the window a moment after it
    // has painted: wait for the colours rather than read them once.
    waitUntil([&] { return pixelAt(control(selftest::kPad), {5, 5}) == selftest::kPadColour; }, "the pad's colour");
    waitUntil([&] { return pixelAt(window_, {1, 1}) == GetSysColor(COLOR_BTNFACE); }, "the window's colour");
    const Image shot = capture(window_);
    EXPECT_EQ(shot.width, 620);
    EXPECT_EQ(shot.height, 400);

    focus(line_);
    typeText(line_, L"截图里的字");
    waitForText(line_, L"截图里的字");
    const std::filesystem::path path = saveScreenshot(window_);
    EXPECT_EQ(path.filename().string(), "SelfTest.ReadsPixelsAndSavesScreenshots.png");
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    EXPECT_EQ(fileContent(path).substr(1, 3), "PNG");
}

// ---- Clipboard -----------------------------------------------------------------------

struct CopyWay {
    const char* name;
    void (*copy)(HWND window, HWND line);
};

class ClipboardTest : public SelfTest, public ::testing::WithParamInterface<CopyWay> {};

TEST_P(ClipboardTest, ReadsBothTextFormats) {
    emptyClipboard();
    focus(line_);
    typeText(line_, L"复制的文字 abc");
    waitForText(line_, L"复制的文字 abc");
    GetParam().copy(window_, line_);
    waitForText(status_, L"已复制");
    EXPECT_EQ(clipboardBytes(CF_TEXT), gbk(L"复制的文字 abc") + std::string(1, '\0'));
    EXPECT_EQ(utf8(clipboardUnicodeText().value_or(L"(none)")), "复制的文字 abc");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClipboardTest,
    ::testing::Values(CopyWay{"Button", [](HWND window, HWND) { click(findControl(window, selftest::kCopy)); }},
                      CopyWay{"Accelerator", [](HWND, HWND line) { pressKey(line, 'C', kCtrl | kShift); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelfTest, EmptyClipboardHasNoText) {
    emptyClipboard();
    EXPECT_FALSE(clipboardBytes(CF_TEXT).has_value());
    EXPECT_FALSE(clipboardUnicodeText().has_value());
    EXPECT_TRUE(clipboardFormats().empty());
}

// ---- Save dialog -------------------------------------------------------------------------

TEST_F(SelfTest, SavesUnderATypedName) {
    focus(notes_);
    typeText(notes_, L"内容");
    pressKey(notes_, 'S', kCtrl);
    const FileDialog dialog = waitForFileDialog(pid());
    EXPECT_EQ(utf8(dialog.fileName()), "建议名称.txt");
    EXPECT_EQ(ownerOf(dialog.window), window_);
    saveScreenshot(nullptr, L"save-dialog");
    dialog.typeFileName(L"乐谱一");
    dialog.accept();
    waitForNoFileDialog(pid());
    waitForText(status_, L"已保存");
    const std::filesystem::path saved = folder_ / L"乐谱一.txt";
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(textOf(line_)), saved)) << utf8(textOf(line_));
    EXPECT_EQ(fileContent(saved), gbk(L"内容"));
}

TEST_F(SelfTest, CancelsTheSaveDialog) {
    click(control(selftest::kSave));
    const FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(L"不要");
    dialog.cancel();
    waitForNoFileDialog(pid());
    waitForText(status_, L"已取消");
    EXPECT_FALSE(std::filesystem::exists(folder_ / L"不要.txt"));
}

TEST_F(SelfTest, AnswersTheOverwritePrompt) {
    const std::filesystem::path existing = folder_ / L"已有.txt";
    std::ofstream(existing, std::ios::binary) << "old";
    focus(notes_);
    typeText(notes_, L"新的");
    click(control(selftest::kSave));
    const FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(L"已有.txt");
    dialog.accept();

    // No: back in the dialog, the file untouched.
    MessageDialog prompt = waitForMessageBox(pid());
    EXPECT_EQ(prompt.owner, dialog.window);
    ASSERT_EQ(prompt.buttons.size(), 2u);
    EXPECT_EQ(prompt.buttons[0].id, IDYES);
    EXPECT_EQ(prompt.buttons[1].id, IDNO);
    prompt.clickButton(IDNO);
    waitForNoMessageBox(pid());
    EXPECT_EQ(waitForFileDialog(pid()).window, dialog.window);
    EXPECT_EQ(fileContent(existing), "old");

    // Yes: replaced.
    dialog.accept();
    prompt = waitForMessageBox(pid());
    prompt.clickButton(IDYES);
    waitForNoFileDialog(pid());
    waitForText(status_, L"已保存");
    EXPECT_EQ(fileContent(existing), gbk(L"新的"));
}

// ---- The program's life ------------------------------------------------------------------

TEST(ProgramTest, GivesTheExitCode) {
    Program program(programPath(), L"--exit-code=5");
    EXPECT_EQ(program.waitForExit(), 5u);
    EXPECT_EQ(program.exitCode(), 5u);
    EXPECT_TRUE(program.topWindows().empty());
}

TEST(ProgramTest, SeesACrashAsTheEnd) {
    Program program(programPath(), L"--crash");
    EXPECT_EQ(program.waitForExit(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST(ProgramTest, WaitingForAWindowFailsWhenTheProgramEnds) {
    Program program(programPath(), L"--exit-code=7");
    try {
        program.waitForWindow(selftest::kWindowClass);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("ended (exit code 7)"), std::string::npos) << failure.what();
        EXPECT_NE(std::string(failure.what()).find("harness_test.cpp:"), std::string::npos) << failure.what();
    }
}

TEST(ProgramTest, IsKilledWhenTheTestLetsGo) {
    HANDLE copy = nullptr;
    {
        Program program(programPath());
        program.waitForWindow(selftest::kWindowClass);
        DuplicateHandle(GetCurrentProcess(), program.handle(), GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
    }
    EXPECT_EQ(WaitForSingleObject(copy, 0), WAIT_OBJECT_0);
    CloseHandle(copy);
}

TEST(WaitTest, TimesOutWithWhatItWaitedFor) {
    try {
        waitUntil([] { return false; }, "the impossible", 50ms);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("timed out after 50 ms waiting for the impossible"), std::string::npos)
            << failure.what();
    }
    int calls = 0;
    EXPECT_TRUE(eventually([&] { return ++calls == 3; }, 1s));
    EXPECT_FALSE(eventually([] { return false; }, 20ms));
}

TEST(PathTest, MapsUnixPathsToDriveZ) {
    EXPECT_EQ(windowsPath(L"/tmp/a b/c.exe"), L"Z:\\tmp\\a b\\c.exe");
    EXPECT_EQ(windowsPath(L"C:\\x"), L"C:\\x");
    EXPECT_EQ(windowsPath(L""), L"");
}

}  // namespace
