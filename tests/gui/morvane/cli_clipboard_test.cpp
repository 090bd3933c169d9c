// morvane-convert gives exactly the bytes that the window puts on the
// clipboard: each input is a file that the window imports and converts and
// that morvane-convert.exe converts, to a file under -o and to standard
// output.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "morvane_fixture.h"

namespace morvane::gui {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string utf16le(std::wstring_view text) {
    std::string out = "\xFF\xFE";
    for (const wchar_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
}

struct Converted {
    DWORD exitCode;
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs morvane-convert.exe with its standard output and error in files and
// waits for it to end.
Converted runConverter(const std::wstring& arguments, const fs::path& folder) {
    const std::wstring program = windowsPath(wide(MORVANE_CONVERT_PROGRAM));
    const fs::path outPath = folder / L"stdout.bin";
    const fs::path errPath = folder / L"stderr.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto create = [&](const fs::path& path) {
        return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    HANDLE out = create(outPath);
    if (out == INVALID_HANDLE_VALUE) fail("cannot create " + outPath.string() + ": error " + std::to_string(GetLastError()));
    HANDLE err = create(errPath);
    if (err == INVALID_HANDLE_VALUE) fail("cannot create " + errPath.string() + ": error " + std::to_string(GetLastError()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    // No console at all: a console of its own would come with a console
    // host that inherits the files' handles too and may outlive the program.
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        DETACHED_PROCESS, nullptr, folder.c_str(), &startup, &info);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) fail("cannot start " + utf8(commandLine));
    CloseHandle(info.hThread);
    const DWORD waited = WaitForSingleObject(info.hProcess, 30000);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    if (waited != WAIT_OBJECT_0) fail("morvane-convert.exe did not end");
    return {exitCode, fileBytes(outPath), fileBytes(errPath)};
}

struct ClipboardCase {
    const char* name;
    bool manual;              // else the auto score
    std::string file;         // what the file holds
    const wchar_t* shown;     // what the numbered-score box shows of it
    bool typed = false;       // typed into the box instead of imported
};

// Failure messages name the case, not its bytes.
void PrintTo(const ClipboardCase& c, std::ostream* out) { *out << c.name; }

class CliClipboardTest : public MorvaneTest, public ::testing::WithParamInterface<ClipboardCase> {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("morvane-cli-clipboard-" + std::string(GetParam().name));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / L"out");
        MorvaneTest::SetUp();
    }
    void TearDown() override {
        MorvaneTest::TearDown();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void importInto(MainControl box, MainControl button, const ClipboardCase& c) {
        click(control(button));
        const FileDialog dialog = waitForFileDialog(pid());
        dialog.typeFileName((folder_ / L"in.txt").wstring());
        dialog.accept();
        waitForNoFileDialog(pid());
        waitForText(control(box), c.shown);
    }

    // The window's manual conversion: what it copies.
    std::string convertManually(const ClipboardCase& c) {
        if (c.typed) typeInto(MainControl::编辑框1, c.shown);
        else importInto(MainControl::编辑框1, MainControl::按钮5, c);
        emptyClipboard();
        click(control(MainControl::按钮1));
        const MessageDialog box = waitForMessageBox(pid());
        const std::string copied = clipboardBytes(CF_TEXT).value_or("none");
        saveScreenshot(nullptr, L"converted");
        box.pressEnter();
        waitForNoMessageBox(pid());
        return copied;
    }

    // The window's auto conversion, then the auto-score save, which copies.
    std::string convertAutomatically(const ClipboardCase& c) {
        showPage(1);
        if (c.typed) typeInto(MainControl::编辑框4, c.shown);
        else importInto(MainControl::编辑框4, MainControl::按钮6, c);
        click(control(MainControl::按钮4));
        waitUntil([&] { return !textOf(control(MainControl::编辑框5)).empty(); }, "the auto score");
        saveScreenshot(nullptr, L"converted");
        typeInto(MainControl::编辑框7, L"cli");
        emptyClipboard();
        pressKey(control(MainControl::编辑框7), 'D', kCtrl);
        const FileDialog dialog = waitForFileDialog(pid());
        dialog.typeFileName((folder_ / L"saved.txt").wstring());
        dialog.accept();
        waitForNoFileDialog(pid());
        const MessageDialog box = waitForMessageBox(pid());
        EXPECT_EQ(utf8(box.text), utf8(L"内容已复制，可发给QQ、YY等好友使用！"));
        const std::string copied = clipboardBytes(CF_TEXT).value_or("none");
        box.pressEnter();
        waitForNoMessageBox(pid());
        EXPECT_EQ(fileBytes(folder_ / L"saved.txt") + '\0', copied) << "the saved auto score is the copied one";
        return copied;
    }

    fs::path folder_;
};

TEST_P(CliClipboardTest, ConvertsAFileToTheBytesTheWindowCopies) {
    const ClipboardCase& c = GetParam();
    writeBytes(folder_ / L"in.txt", c.file);
    const std::string copied = c.manual ? convertManually(c) : convertAutomatically(c);
    ASSERT_FALSE(copied.empty());
    ASSERT_EQ(copied.back(), '\0') << "the clipboard's text ends with its zero";
    const std::string score = copied.substr(0, copied.size() - 1);

    const std::wstring mode = c.manual ? L"manual" : L"auto";
    const Converted toFolder = runConverter(mode + L" -o out in.txt", folder_);
    EXPECT_EQ(toFolder.exitCode, 0u) << toFolder.errors;
    EXPECT_EQ(toFolder.errors, "");
    EXPECT_EQ(toFolder.output, "");
    EXPECT_EQ(testing::PrintToString(fileBytes(folder_ / L"out" / L"in.txt")), testing::PrintToString(score));

    const Converted toOutput = runConverter(mode + L" in.txt", folder_);
    EXPECT_EQ(toOutput.exitCode, 0u) << toOutput.errors;
    EXPECT_EQ(testing::PrintToString(toOutput.output), testing::PrintToString(score));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliClipboardTest,
    ::testing::Values(
        ClipboardCase{"ManualGbk", true, gbk(L"5 3 2 1 | z b ！ @\r\n0 6 5 3 | 8 9 小星星 ……"),
                      L"5 3 2 1 | z b ！ @\r\n0 6 5 3 | 8 9 小星星 ……"},
        ClipboardCase{"ManualUtf8WithLineFeeds", true, "1 2 3\n!@# 0\n\xEF\xBC\x91\xEF\xBC\x92 \xE8\xAD\x9C" "V",
                      L"1 2 3\n!@# 0\n１２ 譜V"},
        ClipboardCase{"ManualUtf16", true, utf16le(L"！￥……\r\nzxcvbnm ZXCVBNM"), L"！￥……\r\nzxcvbnm ZXCVBNM"},
        // "€" moves the character rule on by a byte: the "V" that ends "譜" is converted.
        ClipboardCase{"ManualEuroBeforeAChinese", true, "\x80\xD7V 1", L"€譜 1"},
        // A byte pair that code page 936 lacks shows as "?".
        ClipboardCase{"ManualPairGbkLacks", true, "1\x81\x7F" "2", L"1?2"},
        ClipboardCase{"ManualTyped", true, gbk(L"1 2 3\r\n!@# 0 小星星"), L"1 2 3\r\n!@# 0 小星星", true},
        ClipboardCase{"AutoGbk", false, gbk(L"+5mx 3_ 2= 1mx。 -6mx一\r\n5mx三 5mx四 1MX，2mx 開_"),
                      L"+5mx 3_ 2= 1mx。 -6mx一\r\n5mx三 5mx四 1MX，2mx 開_"},
        ClipboardCase{"AutoUtf8", false, "5mx\xE3\x80\x82 3__ 0.5 5Mx", L"5mx。 3__ 0.5 5Mx"},
        // After "€" the mark "一" is found across two characters; the result
        // box shows "?" for what is left of them, and that is copied.
        ClipboardCase{"AutoEuroBeforeTwoChinese", false, "\x80\xB0\xD2\xBB\xA1", L"€耙弧"},
        ClipboardCase{"AutoTyped", false, gbk(L"5mx。 -6mx二\r\n+1="), L"5mx。 -6mx二\r\n+1=", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvane::gui
