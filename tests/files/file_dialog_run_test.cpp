// The dialogs themselves, driven from a second thread as a user would: read
// what they show, then confirm or cancel.  Needs a display (xvfb-run).
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "files/win32/file_dialog.h"
#include "win32/text.h"

using namespace morvane;
using morvane::win32::runFileDialog;
using morvane::win32::toGbk;

namespace {

constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr int kFileNameCombo = 0x47C;  // cmb13, the name field of the explorer-style dialog

HWND findDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            wchar_t cls[16];
            GetClassNameW(h, cls, 16);
            if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(h)) return TRUE;
            *reinterpret_cast<HWND*>(p) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring windowText(HWND h) {
    wchar_t text[1024] = {};
    GetWindowTextW(h, text, 1024);
    return text;
}

// What the user saw in the dialog.
struct Seen {
    bool appeared = false;
    std::wstring caption;
    std::vector<std::wstring> fileTypes;
    int selectedType = -1;
    std::wstring name;
};

// Shows the dialog; `answer` gets the dialog window once it is up and must
// post IDOK or IDCANCEL to it.  Any box still open after that is cancelled,
// so the test never hangs.
bool showAndAnswer(FileDialogSettings& settings, Seen& seen, const std::function<void(HWND)>& answer) {
    std::atomic<bool> done{false};
    std::thread user([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 200 && !dialog && !done; ++i) {
            Sleep(50);
            dialog = findDialog();
        }
        if (!dialog) return;
        Sleep(300);  // let it fill its controls
        seen.appeared = true;
        seen.caption = windowText(dialog);
        HWND types = GetDlgItem(dialog, kFileTypeCombo);
        const int count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            seen.fileTypes.push_back(text);
        }
        seen.selectedType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
        seen.name = windowText(GetDlgItem(dialog, kFileNameCombo));
        answer(dialog);
        for (int i = 0; i < 100 && !done; ++i) {
            Sleep(100);
            if (i >= 50) {
                if (HWND left = findDialog()) PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
            }
        }
    });
    const bool result = runFileDialog(settings, nullptr);
    done = true;
    user.join();
    return result;
}

void confirm(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }
void cancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

class FileDialogRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display";
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = std::wstring(temp) + L"对话框测试-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    void TearDown() override {
        for (const auto& f : created_) DeleteFileW(f.c_str());
        if (!folder_.empty()) RemoveDirectoryW(folder_.c_str());
    }
    std::wstring file(const std::wstring& name) {
        const std::wstring path = folder_ + L"\\" + name;
        created_.push_back(path);
        return path;
    }
    std::wstring folder_;
    std::vector<std::wstring> created_;
};

TEST_F(FileDialogRun, SaveProposesTheScoreNameAndGivesTheFullPath) {
    FileDialogSettings s = scoreSaveDialogSettings();
    s.fileName = "手动数谱-abc";
    s.initialDir = toGbk(folder_);
    Seen seen;
    ASSERT_TRUE(showAndAnswer(s, seen, confirm));
    EXPECT_TRUE(seen.appeared);
    EXPECT_EQ(seen.fileTypes, std::vector<std::wstring>{L"文本文档（*.txt）"});
    EXPECT_EQ(seen.selectedType, 0);
    EXPECT_EQ(seen.name, L"手动数谱-abc");
    // The default extension is added to the proposed name.
    EXPECT_EQ(s.fileName, toGbk(file(L"手动数谱-abc.txt")));
}

TEST_F(FileDialogRun, CancelLeavesTheSettingsAsTheyWere) {
    for (auto s : {scoreSaveDialogSettings(), scoreOpenDialogSettings()}) {
        s.fileName = "自动曲谱-x";
        s.initialDir = toGbk(folder_);
        const FileDialogSettings before = s;
        Seen seen;
        EXPECT_FALSE(showAndAnswer(s, seen, cancel));
        EXPECT_TRUE(seen.appeared);
        EXPECT_EQ(s, before);
    }
}

TEST_F(FileDialogRun, OpenGivesTheFullPathOfAnExistingFile) {
    const std::wstring existing = file(L"曲谱.txt");
    HANDLE h = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    FileDialogSettings s = scoreOpenDialogSettings();
    s.fileName = toGbk(existing);  // what the next import proposes: the last file's full path
    Seen seen;
    ASSERT_TRUE(showAndAnswer(s, seen, confirm));
    EXPECT_EQ(seen.name, L"曲谱.txt");
    EXPECT_EQ(s.fileName, toGbk(existing));
}

TEST_F(FileDialogRun, TitleAndInitialEntryAreHandedOver) {
    FileDialogSettings s = scoreSaveDialogSettings();
    s.title = "保存曲谱";
    s.filter = "文本|*.txt|全部|*.*";
    s.initialFilter = 1;
    s.initialDir = toGbk(folder_);
    Seen seen;
    EXPECT_FALSE(showAndAnswer(s, seen, cancel));
    EXPECT_EQ(seen.caption, L"保存曲谱");
    EXPECT_EQ(seen.fileTypes, (std::vector<std::wstring>{L"文本", L"全部"}));
    EXPECT_EQ(seen.selectedType, 1);

    s.initialFilter = -3;
    Seen again;
    EXPECT_FALSE(showAndAnswer(s, again, cancel));
    EXPECT_EQ(again.selectedType, 0);
}

}  // namespace
