// The two downloads as a user meets them: the installer run silently, the
// installed program started from its Start-menu shortcut, the uninstaller;
// and the portable zip, unpacked (by the CTest fixture, with unzip) and run
// where it lies.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "morvane_fixture.h"

namespace morvane::gui {
namespace {

namespace fs = std::filesystem;

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvane";

fs::path fromBuild(const char* unixPath) { return fs::path(windowsPath(wide(unixPath))); }

const fs::path kInstaller = fromBuild(MORVANE_TEST_INSTALLER);
const fs::path kBuiltProgram = fromBuild(MORVANE_TEST_PROGRAM);
const fs::path kUnpacked = fromBuild(MORVANE_TEST_UNPACKED);
const std::string kConverter = MORVANE_TEST_CONVERTER;  // empty when the build has none

std::string fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

fs::path knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &path))) fail("no known folder");
    fs::path result(path);
    CoTaskMemFree(path);
    return result;
}

std::set<std::wstring> namesIn(const fs::path& folder) {
    std::set<std::wstring> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) names.insert(entry.path().filename().wstring());
    return names;
}

std::set<std::wstring> shippedFiles() {
    std::set<std::wstring> files = {L"Morvane.exe", L"README.txt"};
    if (!kConverter.empty()) files.insert(L"morvane-convert.exe");
    return files;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    return lstrcmpiW(fs::weakly_canonical(a).c_str(), fs::weakly_canonical(b).c_str()) == 0;
}

// The program's main window is up and its skin library was written beside
// it, hidden; F12 ends it with exit code 0.
void expectRunsAndWritesItsSkinLibrary(Program& program, const fs::path& folder) {
    HWND main = program.waitForWindow(kMainWindowClass, 20s);
    EXPECT_EQ(utf8(textOf(main)), utf8(kMainWindowTitle));
    const fs::path library = folder / L"SkinH_EL.dll";
    ASSERT_TRUE(fs::exists(library));
    // Wine reports every regular file as ready for archiving, so that one
    // bit is not looked at.
    EXPECT_EQ(GetFileAttributesW(library.c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(fs::file_size(library), 88576u);
    saveScreenshot(main);
    pressKey(main, VK_F12);
    EXPECT_EQ(program.waitForExit(), 0u);
}

// ---- The installer ------------------------------------------------------------

struct Shortcut {
    fs::path target;
    fs::path workingDirectory;
};

Shortcut readShortcut(const fs::path& link) {
    Shortcut result;
    IShellLinkW* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell))))
        fail("no shell link object");
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
            wchar_t path[MAX_PATH] = {};
            if (shell->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) result.target = path;
            if (SUCCEEDED(shell->GetWorkingDirectory(path, MAX_PATH))) result.workingDirectory = path;
        }
        file->Release();
    }
    shell->Release();
    return result;
}

std::optional<std::wstring> registryText(HKEY root, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return {};
    return std::wstring(value);
}

std::optional<DWORD> registryNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

bool keyExists(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Processes started by the given one.
std::vector<DWORD> childrenOf(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

// Wine reports a process as ended a moment before it lets go of its
// current directory (the installer's and the program's is the install
// folder), and until then the folder cannot be removed.  Windows lets go
// first.
void waitUntilReleased(const fs::path& folder) {
    eventually([&] {
        HANDLE handle = CreateFileW(folder.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_SHARING_VIOLATION;
        CloseHandle(handle);
        return true;
    });
}

// The install folder, the shortcut and the registry key, cleared before
// and after each test.
class ReleaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = knownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Morvane";
        shortcut_ = knownFolder(FOLDERID_Programs) / L"Morvane.lnk";
        removeEverything();
        ASSERT_FALSE(fs::exists(folder_)) << "left over from an earlier run: " << [&] {
            std::string names;
            for (const auto& name : namesIn(folder_)) names += utf8(name) + " ";
            std::error_code error;
            fs::remove_all(folder_, error);
            return names + error.message();
        }();
    }
    void TearDown() override {
        program_.reset();
        removeEverything();
        CoUninitialize();
    }

    void install() {
        Program setup(kInstaller.wstring(), L"/S");
        ASSERT_EQ(setup.waitForExit(60s), 0u) << "the installer's exit code";
        // Wine gives 0 for an installer it could not even start.
        ASSERT_TRUE(fs::exists(folder_ / L"Morvane.exe")) << "the installer ended well but installed nothing";
    }

    // Runs the uninstaller as Windows' "Apps" does for a quiet removal: the
    // registered command line.  NSIS's uninstaller copies itself to %TEMP%
    // and hands over to the copy, so its own end is not the end: wait for
    // the copy too.
    void uninstallQuietly() {
        const auto command = registryText(HKEY_CURRENT_USER, L"QuietUninstallString");
        ASSERT_TRUE(command.has_value());
        int count = 0;
        wchar_t** words = CommandLineToArgvW(command->c_str(), &count);
        ASSERT_EQ(count, 2) << utf8(*command);
        const std::wstring path = words[0], argument = words[1];
        LocalFree(words);
        EXPECT_EQ(argument, L"/S");

        Program uninstaller(path, argument);
        // The copy is started before the first one ends; look once more
        // after the end, for one started at the very last moment.
        std::set<DWORD> seen;
        std::vector<HANDLE> copies;
        const auto collect = [&] {
            for (DWORD child : childrenOf(uninstaller.pid())) {
                if (!seen.insert(child).second) continue;
                if (HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, child)) copies.push_back(h);
            }
        };
        while (uninstaller.running()) {
            collect();
            Sleep(5);
        }
        collect();
        EXPECT_EQ(uninstaller.waitForExit(30s), 0u);
        std::printf("[uninstall] the uninstaller handed over to %zu process(es)\n", copies.size());
        for (HANDLE copy : copies) {
            EXPECT_EQ(WaitForSingleObject(copy, 60000), WAIT_OBJECT_0) << "the uninstaller's copy never ended";
            CloseHandle(copy);
        }
    }

    // Whatever an earlier (failed) run or this one left, by hand.
    void removeEverything() {
        waitUntilReleased(folder_);
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder_, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored);
        fs::remove(shortcut_, ignored);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    }

    fs::path folder_;
    fs::path shortcut_;
    std::unique_ptr<Program> program_;
};

class InstallerTest : public ReleaseTest {
protected:
    void SetUp() override {
        ReleaseTest::SetUp();
        if (!HasFatalFailure()) install();
    }
};

TEST_F(InstallerTest, InstallsIntoTheUsersProgramsFolder) {
    std::set<std::wstring> expected = shippedFiles();
    expected.insert(L"Uninstall.exe");
    EXPECT_EQ(namesIn(folder_), expected);
    EXPECT_TRUE(fileBytes(folder_ / L"Morvane.exe") == fileBytes(kBuiltProgram)) << "not the program of this build";
    if (!kConverter.empty()) {
        EXPECT_TRUE(fileBytes(folder_ / L"morvane-convert.exe") == fileBytes(fromBuild(kConverter.c_str())));
    }
}

TEST_F(InstallerTest, RegistersItsUninstallerForTheUserAlone) {
    const std::wstring exe = (folder_ / L"Morvane.exe").wstring();
    const std::wstring uninstaller = (folder_ / L"Uninstall.exe").wstring();
    struct Text {
        const wchar_t* name;
        std::wstring expected;
    };
    const Text texts[] = {
        {L"DisplayName", L"Morvane"},
        {L"DisplayVersion", L"" MORVANE_TEST_VERSION},
        {L"DisplayIcon", exe + L",0"},
        {L"Publisher", L"Lestrio"},
        {L"InstallLocation", folder_.wstring()},
        {L"UninstallString", L"\"" + uninstaller + L"\""},
        {L"QuietUninstallString", L"\"" + uninstaller + L"\" /S"},
    };
    for (const Text& text : texts) {
        const auto value = registryText(HKEY_CURRENT_USER, text.name);
        EXPECT_EQ(utf8(value.value_or(L"(missing)")), utf8(text.expected)) << utf8(text.name);
    }
    EXPECT_EQ(registryNumber(L"NoModify"), std::optional<DWORD>(1));
    EXPECT_EQ(registryNumber(L"NoRepair"), std::optional<DWORD>(1));
    // In KiB, what "Apps" shows as the size.
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) bytes += entry.file_size();
    const auto size = registryNumber(L"EstimatedSize");
    ASSERT_TRUE(size.has_value());
    EXPECT_NEAR(static_cast<double>(*size), static_cast<double>(bytes) / 1024, 8.0);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE)) << "nothing machine-wide";
}

// Started as the Start menu starts it: the shortcut's target, in the
// shortcut's working directory.
TEST_F(InstallerTest, StartMenuShortcutStartsTheInstalledProgram) {
    ASSERT_TRUE(fs::exists(shortcut_));
    const Shortcut link = readShortcut(shortcut_);
    ASSERT_FALSE(link.target.empty()) << "the shortcut names no program";
    EXPECT_TRUE(sameFile(link.target, folder_ / L"Morvane.exe")) << utf8(link.target.wstring());
    program_ = std::make_unique<Program>(link.target.wstring(), L"", link.workingDirectory.wstring());
    expectRunsAndWritesItsSkinLibrary(*program_, folder_);
}

TEST_F(InstallerTest, UninstallLeavesNothingBehind) {
    // The skin library the program writes at its first start goes too.
    program_ = std::make_unique<Program>((folder_ / L"Morvane.exe").wstring());
    expectRunsAndWritesItsSkinLibrary(*program_, folder_);
    program_.reset();
    ASSERT_TRUE(fs::exists(folder_ / L"SkinH_EL.dll"));
    waitUntilReleased(folder_);

    uninstallQuietly();
    EXPECT_FALSE(fs::exists(folder_)) << "left: " << [&] {
        std::string names;
        for (const auto& name : namesIn(folder_)) names += utf8(name) + " ";
        return names;
    }();
    EXPECT_FALSE(fs::exists(shortcut_));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER));
}

// A score the user saved next to the program is the user's, not the
// installer's: it stays, and with it the folder.
TEST_F(InstallerTest, UninstallKeepsTheUsersScores) {
    const fs::path score = folder_ / L"手动曲谱-小星星.txt";
    std::ofstream(score, std::ios::binary) << "QQTT";
    uninstallQuietly();
    EXPECT_EQ(namesIn(folder_), std::set<std::wstring>{score.filename().wstring()});
    EXPECT_FALSE(fs::exists(shortcut_));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER));
}

// The wizard as a person sees it when not run silently: in the user's
// language (Chinese on a Chinese system, English on any other), proposing
// the per-user folder; cancelled, it leaves nothing.
TEST_F(ReleaseTest, WizardSpeaksTheUsersLanguageAndCancelsWithoutATrace) {
    const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
    program_ = std::make_unique<Program>(kInstaller.wstring());
    HWND wizard = program_->waitForWindow(L"#32770", 20s);
    std::wstring title = textOf(wizard);
    while (!title.empty() && title.back() == L' ') title.pop_back();  // MUI leaves a blank for a sub-caption
    EXPECT_EQ(utf8(title), chinese ? "Morvane " MORVANE_TEST_VERSION " 安装" : "Morvane " MORVANE_TEST_VERSION " Setup");
    HWND folderField = findControl(wizard, 1019);  // the directory page's path
    waitForText(folderField, folder_.wstring());
    saveScreenshot(wizard, chinese ? L"zh" : L"en");

    click(findControl(wizard, IDCANCEL));
    const MessageDialog box = waitForMessageBox(program_->pid());
    EXPECT_EQ(utf8(box.text), chinese ? "确定要退出 Morvane " MORVANE_TEST_VERSION " 安装程序吗？"
                                      : "Are you sure you want to quit Morvane " MORVANE_TEST_VERSION " Setup?");
    box.clickButton(IDYES);
    program_->waitForExit();
    EXPECT_FALSE(fs::exists(folder_));
    EXPECT_FALSE(fs::exists(shortcut_));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER));
}

// ---- The portable zip ------------------------------------------------------------

TEST(PortableZip, HoldsOneFolderWithTheProgramAndItsReadMe) {
    EXPECT_EQ(namesIn(kUnpacked), std::set<std::wstring>{L"Morvane"});
    const fs::path folder = kUnpacked / L"Morvane";
    EXPECT_EQ(namesIn(folder), shippedFiles());
    EXPECT_TRUE(fileBytes(folder / L"Morvane.exe") == fileBytes(kBuiltProgram)) << "not the program of this build";
    if (!kConverter.empty()) {
        EXPECT_TRUE(fileBytes(folder / L"morvane-convert.exe") == fileBytes(fromBuild(kConverter.c_str())));
    }
}

// Notepad of every Windows version shows it right: UTF-8 with a byte order
// mark, lines ended by CR LF; Chinese first, then English.
TEST(PortableZip, ReadMeIsForNotepadChineseFirst) {
    const std::string text = fileBytes(kUnpacked / L"Morvane" / L"README.txt");
    ASSERT_GE(text.size(), 3u);
    ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << "no byte order mark";
    const std::string body = text.substr(3);
    EXPECT_NE(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), static_cast<int>(body.size()), nullptr, 0), 0)
        << "not UTF-8";
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\n') {
            ASSERT_TRUE(i > 0 && body[i - 1] == '\r') << "a line ends without CR, at byte " << i;
        } else if (body[i] == '\r') {
            ASSERT_TRUE(i + 1 < body.size() && body[i + 1] == '\n') << "a lone CR at byte " << i;
        }
    }
    ASSERT_GE(body.size(), 2u);
    EXPECT_EQ(body.substr(body.size() - 2), "\r\n") << "the last line is ended too";
    const std::wstring shown = wide(body);
    EXPECT_EQ(shown.rfind(L"Morvane " MORVANE_TEST_VERSION, 0), 0u) << "starts with the name and version";
    const auto chinese = shown.find(L"便携版");
    const auto english = shown.find(L"Portable:");
    ASSERT_NE(chinese, std::wstring::npos);
    ASSERT_NE(english, std::wstring::npos);
    EXPECT_LT(chinese, english);
    EXPECT_NE(shown.find(L"SkinH_EL.dll"), std::wstring::npos) << "says what the program writes beside itself";
}

TEST(PortableZip, RunsWhereItWasUnpacked) {
    const fs::path folder = kUnpacked / L"Morvane";
    ASSERT_FALSE(fs::exists(folder / L"SkinH_EL.dll")) << "the folder is not freshly unpacked";
    Program program((folder / L"Morvane.exe").wstring());
    expectRunsAndWritesItsSkinLibrary(program, folder);
}

}  // namespace
}  // namespace morvane::gui
