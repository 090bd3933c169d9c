#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/win32/whole_file.h"
#include "win32/text.h"

using namespace morvane;
using morvane::win32::readWholeFile;
using morvane::win32::toGbk;
using morvane::win32::toWide;
using morvane::win32::writeWholeFile;

namespace {

using namespace std::string_literals;

// A fresh folder with a Chinese name for each test, removed afterwards.
class WholeFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        static int n = 0;
        folder_ = std::wstring(temp) + L"曲谱测试-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++n);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << GetLastError() << " " << toGbk(folder_).bytes();
    }

    void TearDown() override {
        for (const auto& name : names()) {
            const std::wstring path = folder_ + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    GbkText path(const std::wstring& name) const { return toGbk(folder_ + L"\\" + name); }
    std::wstring widePath(const std::wstring& name) const { return folder_ + L"\\" + name; }

    // Every entry of the folder, sorted.
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> out;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return out;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") out.push_back(name);
        } while (FindNextFileW(h, &found));
        FindClose(h);
        std::sort(out.begin(), out.end());
        return out;
    }

    std::wstring folder_;
};

const std::wstring kScore = L"手动数谱-abc.txt";

TEST_F(WholeFile, WritesThePartsInOrderAndReadsThemBack) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {textToBytes("曲谱名称："), textToBytes("abc"), textToBytes("\r\n\r\n"),
                                              textToBytes("1 2")}));
    const ByteData read = readWholeFile(path(kScore));
    EXPECT_EQ(read.size(), 20u);
    EXPECT_EQ(read.bytes(), "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA" "abc\r\n\r\n1 2");
    EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
}

TEST_F(WholeFile, KeepsEveryByteValue) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    ASSERT_TRUE(writeWholeFile(path(L"a.bin"), {ByteData(all), ByteData(), ByteData("\0\0"s)}));
    EXPECT_EQ(readWholeFile(path(L"a.bin")).bytes(), all + "\0\0"s);
}

TEST_F(WholeFile, NoPartsGiveAnEmptyFile) {
    ASSERT_TRUE(writeWholeFile(path(L"empty.txt"), std::initializer_list<ByteData>{}));
    EXPECT_NE(GetFileAttributesW(widePath(L"empty.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(readWholeFile(path(L"empty.txt")).empty());
}

TEST_F(WholeFile, ReplacesTheOldContentWholly) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData(std::string(5000, 'x'))}));
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("new"s)}));
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "new");
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("newer and longer"s)}));
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "newer and longer");
    EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
}

TEST_F(WholeFile, AReplacedFileKeepsBeingHidden) {
    ASSERT_TRUE(writeWholeFile(path(L"skin.dll"), {ByteData("old"s)}));
    EXPECT_FALSE(GetFileAttributesW(widePath(L"skin.dll").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(SetFileAttributesW(widePath(L"skin.dll").c_str(), FILE_ATTRIBUTE_HIDDEN));
    if (!(GetFileAttributesW(widePath(L"skin.dll").c_str()) & FILE_ATTRIBUTE_HIDDEN)) {
        GTEST_SKIP() << "this file system keeps no hidden attribute";
    }
    ASSERT_TRUE(writeWholeFile(path(L"skin.dll"), {ByteData("new"s)}));
    EXPECT_EQ(readWholeFile(path(L"skin.dll")).bytes(), "new");
    EXPECT_TRUE(GetFileAttributesW(widePath(L"skin.dll").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(names(), std::vector<std::wstring>{L"skin.dll"});
}

FILETIME creationTime(const std::wstring& path) {
    FILETIME created{};
    HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        GetFileTime(h, &created, nullptr, nullptr);
        CloseHandle(h);
    }
    return created;
}

TEST_F(WholeFile, AReplacedFileKeepsItsCreationTime) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("old"s)}));
    const FILETIME old = {0x12345600, 0x01D00000};  // in 2014
    HANDLE h = CreateFileW(widePath(kScore).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const bool set = SetFileTime(h, &old, nullptr, nullptr);
    CloseHandle(h);
    const FILETIME now = creationTime(widePath(kScore));
    if (!set || now.dwHighDateTime != old.dwHighDateTime || now.dwLowDateTime != old.dwLowDateTime) {
        GTEST_SKIP() << "this file system keeps no creation time of its own";
    }
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("new"s)}));
    const FILETIME after = creationTime(widePath(kScore));
    EXPECT_EQ(after.dwHighDateTime, old.dwHighDateTime);
    EXPECT_EQ(after.dwLowDateTime, old.dwLowDateTime);
}

TEST_F(WholeFile, AReadOnlyTargetIsRefusedAndKept) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("old"s)}));
    ASSERT_TRUE(SetFileAttributesW(widePath(kScore).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(writeWholeFile(path(kScore), {ByteData("new"s)}));
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "old");
    EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
}

TEST_F(WholeFile, ATargetHeldOpenIsRefusedAndKept) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("old"s)}));
    // However much the other opener shares, the file is in use.
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE},
                              DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
        SCOPED_TRACE(share);
        HANDLE other = CreateFileW(widePath(kScore).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(writeWholeFile(path(kScore), {ByteData("new"s)}));
        CloseHandle(other);
        EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "old");
        EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
    }
    EXPECT_TRUE(writeWholeFile(path(kScore), {ByteData("new"s)}));
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "new");
}

// What the folder holds while the temporary file waits, and what happens
// when the target is taken between the checks and the replacement.
struct ReplaceProbe {
    static inline std::vector<std::wstring> seen;  // full paths: temporary, target
    static inline std::string temporaryContent;
    static inline HANDLE taken = INVALID_HANDLE_VALUE;
    static inline bool takeTarget = false;

    static void hook(const std::wstring& temporary, const std::wstring& target) {
        seen = {temporary, target};
        HANDLE h = CreateFileW(temporary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        char buffer[256];
        DWORD read = 0;
        temporaryContent.clear();
        if (h != INVALID_HANDLE_VALUE && ReadFile(h, buffer, sizeof(buffer), &read, nullptr))
            temporaryContent.assign(buffer, read);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (takeTarget) {
            taken = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        }
    }
};

class WholeFileReplace : public WholeFile {
protected:
    void SetUp() override {
        WholeFile::SetUp();
        ReplaceProbe::seen.clear();
        ReplaceProbe::takeTarget = false;
        win32::detail::beforeReplaceForTesting = &ReplaceProbe::hook;
    }
    void TearDown() override {
        win32::detail::beforeReplaceForTesting = nullptr;
        if (ReplaceProbe::taken != INVALID_HANDLE_VALUE) CloseHandle(ReplaceProbe::taken);
        ReplaceProbe::taken = INVALID_HANDLE_VALUE;
        WholeFile::TearDown();
    }
};

TEST_F(WholeFileReplace, TheNewContentWaitsWholeInATemporaryFileBesideTheTarget) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("old"s)}));
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("new "s), ByteData("content"s)}));
    ASSERT_EQ(ReplaceProbe::seen.size(), 2u);
    const std::wstring& temporary = ReplaceProbe::seen[0];
    EXPECT_EQ(temporary.substr(0, folder_.size() + 1), folder_ + L"\\");
    EXPECT_EQ(ReplaceProbe::seen[1], widePath(kScore));
    EXPECT_EQ(ReplaceProbe::temporaryContent, "new content");
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "new content");
    EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
}

TEST_F(WholeFileReplace, AFailedReplacementKeepsTheOldFileAndRemovesTheTemporaryOne) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("old"s)}));
    ReplaceProbe::takeTarget = true;
    EXPECT_FALSE(writeWholeFile(path(kScore), {ByteData("new content"s)}));
    ASSERT_NE(ReplaceProbe::taken, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReplaceProbe::temporaryContent, "new content");
    CloseHandle(ReplaceProbe::taken);
    ReplaceProbe::taken = INVALID_HANDLE_VALUE;
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "old");
    EXPECT_EQ(names(), std::vector<std::wstring>{kScore});
}

TEST_F(WholeFile, AMissingFolderIsRefused) {
    EXPECT_FALSE(writeWholeFile(path(L"missing\\" + kScore), {ByteData("new"s)}));
    EXPECT_EQ(GetFileAttributesW(widePath(L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(names().empty());
}

TEST_F(WholeFile, AFolderAsTargetIsRefused) {
    ASSERT_TRUE(CreateDirectoryW(widePath(L"sub").c_str(), nullptr));
    EXPECT_FALSE(writeWholeFile(path(L"sub"), {ByteData("new"s)}));
    EXPECT_EQ(names(), std::vector<std::wstring>{L"sub"});
    RemoveDirectoryW(widePath(L"sub").c_str());
}

TEST_F(WholeFile, AnEmptyPathIsRefused) {
    EXPECT_FALSE(writeWholeFile(GbkText(), {ByteData("new"s)}));
    EXPECT_TRUE(readWholeFile(GbkText()).empty());
}

TEST_F(WholeFile, ANameTheSystemRefusesLeavesNothing) {
    EXPECT_FALSE(writeWholeFile(path(L"a<b>.txt"), {ByteData("new"s)}));
    EXPECT_TRUE(names().empty());
}

// The skin library's way: written once, then hidden by the caller.
TEST_F(WholeFile, ANewFileCanBeHiddenAfterwards) {
    ASSERT_TRUE(writeWholeFile(path(L"SkinH_EL.dll"), {ByteData("MZ\0\x90"s)}));
    EXPECT_TRUE(SetFileAttributesW(widePath(L"SkinH_EL.dll").c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(readWholeFile(path(L"SkinH_EL.dll")).bytes(), "MZ\0\x90"s);
}

TEST_F(WholeFile, ReadingAMissingFileGivesNothing) {
    EXPECT_TRUE(readWholeFile(path(L"none.txt")).empty());
    EXPECT_TRUE(readWholeFile(path(L"missing\\none.txt")).empty());
}

TEST_F(WholeFile, ReadingSharesWithReadersButNotWriters) {
    ASSERT_TRUE(writeWholeFile(path(kScore), {ByteData("score"s)}));
    HANDLE reader = CreateFileW(widePath(kScore).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "score");
    CloseHandle(reader);

    HANDLE writer = CreateFileW(widePath(kScore).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(readWholeFile(path(kScore)).empty());
    CloseHandle(writer);
    EXPECT_EQ(readWholeFile(path(kScore)).bytes(), "score");
}

TEST_F(WholeFile, ReadingAFolderGivesNothing) {
    ASSERT_TRUE(CreateDirectoryW(widePath(L"sub").c_str(), nullptr));
    EXPECT_TRUE(readWholeFile(path(L"sub")).empty());
    RemoveDirectoryW(widePath(L"sub").c_str());
}

}  // namespace
