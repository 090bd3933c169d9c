// Saving and importing scores through the real file dialogs, and the auto
// conversion, as a person does it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "morvane_fixture.h"

namespace morvane::gui {
namespace {

namespace fs = std::filesystem;

const std::string kHeader = "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA";  // 曲谱名称：

std::string fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The program writes after its dialog has closed: wait for the content.
void expectFile(const fs::path& path, const std::string& expected, Where where = Where::current()) {
    if (!eventually([&] { return fileBytes(path) == expected; })) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << path.string() << " holds " << testing::PrintToString(fileBytes(path)) << ", expected "
            << testing::PrintToString(expected);
    }
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

// Each test has an empty folder of its own for the files it saves.
class ScoreFilesTest : public MorvaneTest {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info->name();
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests
        folder_ = fs::temp_directory_path() / ("morvane-files-" + name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        MorvaneTest::SetUp();
    }
    void TearDown() override {
        MorvaneTest::TearDown();
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder_, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored);
    }

    fs::path file(const wchar_t* name) const { return folder_ / name; }

    // Saves through the dialog into `target`, checking the proposed name.
    void saveThroughDialog(const std::wstring& proposed, const fs::path& target) {
        const FileDialog dialog = waitForFileDialog(pid());
        EXPECT_EQ(utf8(dialog.fileName()), utf8(proposed));
        dialog.typeFileName(target.wstring());
        dialog.accept();
        waitForNoFileDialog(pid());
    }

    void expectError(const std::wstring& text, const std::wstring& title = L"出错啦") {
        const MessageDialog box = waitForMessageBox(pid());
        EXPECT_EQ(utf8(box.title), utf8(title));
        EXPECT_EQ(utf8(box.text), utf8(text));
        EXPECT_EQ(box.icon, Icon::Error) << nameOf(box.icon);
        box.pressEnter();
        waitForNoMessageBox(pid());
    }

    void convertManual() {
        click(control(MainControl::按钮1));
        waitForMessageBox(pid()).pressEnter();
        waitForNoMessageBox(pid());
    }

    std::wstring text(MainControl id) const { return textOf(control(id)); }

    fs::path folder_;
};

TEST_F(ScoreFilesTest, ManualNumberedScoreIsSavedWithItsHeader) {
    typeInto(MainControl::编辑框1, L"1 2");
    typeInto(MainControl::编辑框3, L"abc");
    pressKey(control(MainControl::编辑框3), 'W', kCtrl);
    waitForFileDialog(pid());
    saveScreenshot(nullptr, L"save-dialog");
    saveThroughDialog(L"手动数谱-abc", file(L"a.txt"));
    expectFile(file(L"a.txt"), kHeader + "abc\r\n\r\n1 2");
    EXPECT_EQ(fileBytes(file(L"a.txt")).size(), 20u);  // no mark, no line break at the end
    waitForText(control(MainControl::编辑框1), L"");
    EXPECT_EQ(text(MainControl::编辑框2), L"");
    EXPECT_EQ(text(MainControl::编辑框3), L"");
}

TEST_F(ScoreFilesTest, ManualScoreIsTheLastConversionEvenAfterAnImport) {
    typeInto(MainControl::编辑框1, L"1 2 3\r\n0 !");
    convertManual();
    typeInto(MainControl::编辑框1, L"5 6");  // changed, not converted again
    typeInto(MainControl::编辑框3, L" 小星星 ");
    pressKey(control(MainControl::编辑框3), 'E', kCtrl);
    saveThroughDialog(L"手动曲谱- 小星星 ", file(L"m.txt"));
    expectFile(file(L"m.txt"), kHeader + gbk(L" 小星星 ") + "\r\n\r\nQ W E\r\n---- 1");
    // The result box is empty now, so a second save refuses.
    typeInto(MainControl::编辑框3, L"again");
    pressKey(control(MainControl::编辑框3), 'E', kCtrl);
    expectError(L"没有曲谱怎么保存啊？");
}

TEST_F(ScoreFilesTest, AutoNumberedScoreAndAutoScore) {
    showPage(1);
    typeInto(MainControl::编辑框4, L"5mx。 3_");
    click(control(MainControl::按钮4));
    waitForText(control(MainControl::编辑框5), L"5,3;[0.5]; 3,2;");
    EXPECT_FALSE(eventually([&] { return !topWindowsOf(pid(), L"#32770").empty(); }, 300ms))
        << "the auto conversion shows no message";
    typeInto(MainControl::编辑框7, L"song");
    pressKey(control(MainControl::编辑框7), 'S', kCtrl);
    saveThroughDialog(L"自动数谱-song", file(L"n.txt"));
    expectFile(file(L"n.txt"), kHeader + "song\r\n\r\n5mx" + gbk(L"。") + " 3_");
    EXPECT_EQ(text(MainControl::编辑框5), L"");
    EXPECT_EQ(text(MainControl::编辑框7), L"");
}

// The auto score is saved as the box shows it, hand edits included, bare,
// and goes to the clipboard too.
TEST_F(ScoreFilesTest, AutoScoreIsSavedAsEditedAndCopied) {
    showPage(1);
    typeInto(MainControl::编辑框4, L"5mx。");
    click(control(MainControl::按钮4));
    waitForText(control(MainControl::编辑框5), L"5,3;[0.5];");
    typeInto(MainControl::编辑框5, L"5,3.5;");
    typeInto(MainControl::编辑框7, L"星");
    emptyClipboard();
    // The button's release opens its menu; its second item saves the script.
    click(control(MainControl::按钮3));
    waitForPopupMenu(pid());
    pressKey(mainWindow(), VK_DOWN);
    pressKey(mainWindow(), VK_DOWN);
    pressKey(mainWindow(), VK_RETURN);
    saveThroughDialog(L"自动曲谱-星", file(L"auto.txt"));
    const MessageDialog box = waitForMessageBox(pid());
    EXPECT_EQ(box.title, L"信息：");
    EXPECT_EQ(box.text, L"内容已复制，可发给QQ、YY等好友使用！");
    EXPECT_EQ(box.icon, Icon::None);
    EXPECT_EQ(clipboardBytes(CF_TEXT), std::string("5,3.5;") + '\0');
    box.pressEnter();
    waitForNoMessageBox(pid());
    EXPECT_EQ(fileBytes(file(L"auto.txt")), "5,3.5;");
    for (MainControl cleared : {MainControl::编辑框4, MainControl::编辑框5, MainControl::编辑框6, MainControl::编辑框7})
        EXPECT_EQ(text(cleared), L"") << int(cleared);
}

struct Refusal {
    const char* name;
    int page;
    const wchar_t* score;  // typed into the page's score box
    const wchar_t* scoreName;
    WORD key;
    const wchar_t* message;
    const wchar_t* title;
};

class RefusalTest : public ScoreFilesTest, public ::testing::WithParamInterface<Refusal> {};

// A refused save shows its message and keeps every box as it was.
TEST_P(RefusalTest, KeepsTheBoxes) {
    const Refusal& r = GetParam();
    const MainControl scoreBox = r.page == 0 ? MainControl::编辑框1 : MainControl::编辑框4;
    const MainControl nameBox = r.page == 0 ? MainControl::编辑框3 : MainControl::编辑框7;
    showPage(r.page);
    typeInto(scoreBox, r.score);
    typeInto(nameBox, r.scoreName);
    pressKey(control(nameBox), r.key, kCtrl);
    expectError(r.message, r.title);
    EXPECT_EQ(text(scoreBox), r.score);
    EXPECT_EQ(text(nameBox), r.scoreName);
    EXPECT_TRUE(topWindowsOf(pid(), L"#32770").empty()) << "no dialog after a refusal";
}

INSTANTIATE_TEST_SUITE_P(
    Saves, RefusalTest,
    ::testing::Values(
        Refusal{"ManualNumberedWithoutScore", 0, L"", L"abc", 'W', L"没有曲谱怎么保存啊？", L"出错啦"},
        Refusal{"ManualNumberedWithoutName", 0, L"1 2 3 5 6 5 3", L"", 'W', L"请先输入曲谱名称", L"出错啦"},
        Refusal{"ManualScoreWithoutConversion", 0, L"1 2", L"abc", 'E', L"没有曲谱怎么保存啊？", L"出错啦"},
        Refusal{"AutoNumberedWithoutName", 1, L"5mx", L"", 'S', L"请先输入曲谱名称", L"出错啦"},
        Refusal{"AutoScoreWithoutScore", 1, L"5mx", L"abc", 'D', L"没有内容我保存不了啊！亲", L"不带这么坑我的！"},
        Refusal{"BothEmptyShowsOnlyTheFirst", 0, L"", L"", 'W', L"没有曲谱怎么保存啊？", L"出错啦"}),
    [](const auto& info) { return std::string(info.param.name); });

// A click by keyboard on the auto tab's save button saves without the menu.
TEST_F(ScoreFilesTest, SpaceBarOnTheAutoSaveButtonSaves) {
    showPage(1);
    typeInto(MainControl::编辑框5, L"1,3;");
    typeInto(MainControl::编辑框7, L"k");
    focus(control(MainControl::按钮3));
    pressKey(control(MainControl::按钮3), VK_SPACE);
    EXPECT_EQ(utf8(waitForFileDialog(pid()).fileName()), utf8(L"自动曲谱-k"));
    EXPECT_TRUE(topWindowsOf(pid(), L"#32768").empty()) << "no menu without the mouse";
    waitForFileDialog(pid()).cancel();
    waitForNoFileDialog(pid());
    EXPECT_EQ(text(MainControl::编辑框6), L"1,3;") << "the hidden box holds what was to be saved";
}

TEST_F(ScoreFilesTest, CancelledDialogKeepsEverything) {
    typeInto(MainControl::编辑框1, L"1 2 3");
    convertManual();
    typeInto(MainControl::编辑框3, L"abc");
    pressKey(control(MainControl::编辑框3), 'W', kCtrl);
    waitForFileDialog(pid()).cancel();
    waitForNoFileDialog(pid());
    EXPECT_EQ(text(MainControl::编辑框1), L"1 2 3");
    EXPECT_EQ(text(MainControl::编辑框2), L"Q W E");
    EXPECT_EQ(text(MainControl::编辑框3), L"abc");
    EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(ScoreFilesTest, OverwriteAsksAndThenReplacesTheWholeFile) {
    writeBytes(file(L"old.txt"), std::string(500, 'x'));
    typeInto(MainControl::编辑框1, L"1");
    typeInto(MainControl::编辑框3, L"n");
    pressKey(control(MainControl::编辑框3), 'W', kCtrl);
    const FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(file(L"old.txt").wstring());
    dialog.accept();
    const MessageDialog prompt = waitForMessageBox(pid());
    saveScreenshot(nullptr, L"overwrite-prompt");
    prompt.clickButton(IDYES);
    waitForNoFileDialog(pid());
    waitForText(control(MainControl::编辑框1), L"");
    expectFile(file(L"old.txt"), kHeader + "n\r\n\r\n1");
}

struct BlockedTarget {
    const char* name;
    bool readOnly;  // else held open by the test
};

class BlockedTargetTest : public ScoreFilesTest, public ::testing::WithParamInterface<BlockedTarget> {};

// A file that cannot be written is reported by name, keeps its old content,
// and every box stays as it was.
TEST_P(BlockedTargetTest, IsReportedAndNothingIsLost) {
    const fs::path target = file(L"blocked.txt");
    writeBytes(target, "old content");
    HANDLE held = INVALID_HANDLE_VALUE;
    if (GetParam().readOnly) {
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    } else {
        held = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    typeInto(MainControl::编辑框1, L"1 2 3");
    typeInto(MainControl::编辑框3, L"abc");
    pressKey(control(MainControl::编辑框3), 'W', kCtrl);
    const FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(target.wstring());
    dialog.accept();
    MessageDialog box = waitForMessageBox(pid());
    if (box.buttons.size() > 1) {  // the replace prompt first
        const HWND prompt = box.window;
        box.clickButton(IDYES);
        waitUntil([&] { return !IsWindow(prompt); }, "the replace prompt to close");
        box = waitForMessageBox(pid());
    }
    EXPECT_EQ(box.title, L"出错啦");
    EXPECT_EQ(box.icon, Icon::Error);
    EXPECT_NE(box.text.find(L"保存失败，文件没有写入："), std::wstring::npos) << utf8(box.text);
    EXPECT_NE(box.text.find(L"blocked.txt"), std::wstring::npos) << utf8(box.text);
    saveScreenshot(nullptr, L"error");
    box.pressEnter();
    waitForNoMessageBox(pid());
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(fileBytes(target), "old content");
    EXPECT_EQ(text(MainControl::编辑框1), L"1 2 3");
    EXPECT_EQ(text(MainControl::编辑框3), L"abc");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) ++files;
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Targets, BlockedTargetTest,
                         ::testing::Values(BlockedTarget{"ReadOnly", true}, BlockedTarget{"HeldOpen", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A saved file comes back with its header lines.
TEST_F(ScoreFilesTest, ImportShowsTheSavedFileWholeAndProposesItNextTime) {
    writeBytes(file(L"saved.txt"), kHeader + "abc\r\n\r\n1 2");
    click(control(MainControl::按钮5));
    FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(file(L"saved.txt").wstring());
    dialog.accept();
    waitForText(control(MainControl::编辑框1), L"曲谱名称：abc\r\n\r\n1 2");

    // The next import, from the other page's button, proposes that file.
    showPage(1);
    click(control(MainControl::按钮6));
    dialog = waitForFileDialog(pid());
    EXPECT_EQ(fs::path(dialog.fileName()).filename().wstring(), L"saved.txt");
    dialog.cancel();
    waitForNoFileDialog(pid());
    EXPECT_EQ(text(MainControl::编辑框4), L"");
}

// Both ways to the manual tab's import: its button and Ctrl+Q in a box.
TEST_F(ScoreFilesTest, ManualImportFromItsButtonAndItsShortcut) {
    writeBytes(file(L"one.txt"), "1 2 3");
    writeBytes(file(L"two.txt"), "5 6");
    click(control(MainControl::按钮5));
    FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(file(L"one.txt").wstring());
    dialog.accept();
    waitForText(control(MainControl::编辑框1), L"1 2 3");
    focus(control(MainControl::编辑框3));
    pressKey(control(MainControl::编辑框3), 'Q', kCtrl);
    dialog = waitForFileDialog(pid());
    dialog.typeFileName(file(L"two.txt").wstring());
    dialog.accept();
    waitForText(control(MainControl::编辑框1), L"5 6");
    EXPECT_EQ(text(MainControl::编辑框4), L"") << "the other page's box is not touched";
}

struct ImportCase {
    const char* name;
    std::string bytes;
    const wchar_t* shown;
};

class ImportTest : public ScoreFilesTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(ImportTest, ShowsTheFilesText) {
    const ImportCase& c = GetParam();
    writeBytes(file(L"in.txt"), c.bytes);
    showPage(1);
    typeInto(MainControl::编辑框4, L"old");
    pressKey(control(MainControl::编辑框4), 'A', kCtrl);
    const FileDialog dialog = waitForFileDialog(pid());
    dialog.typeFileName(file(L"in.txt").wstring());
    dialog.accept();
    waitForText(control(MainControl::编辑框4), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ImportTest,
    ::testing::Values(ImportCase{"Utf8", "5mx\xE3\x80\x82 \xE4\xB8\x80", L"5mx。 一"},
                      ImportCase{"Utf8WithMark", "\xEF\xBB\xBF\xE5\xB0\x8F\xE6\x98\x9F 1", L"小星 1"},
                      ImportCase{"Utf16Le", std::string("\xFF\xFE\x0F\x5C\x1F\x66 \0" "1\0", 10), L"小星 1"},
                      ImportCase{"GbkValidUtf8ByAccident", "5mx\xD2\xBB", L"5mx一"},
                      ImportCase{"ZeroByteEndsTheText", std::string("12\0" "34", 5), L"12"},
                      ImportCase{"Empty", "", L""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvane::gui
