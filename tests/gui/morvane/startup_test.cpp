// Start-up as the user meets it: the update check against a version page on
// a loopback server, and the skin library written next to the program.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "loopback_server.h"
#include "morvane_fixture.h"

namespace morvane::gui {
namespace {

namespace fs = std::filesystem;

const std::string kVersionRequestLine = "GET /version/page.html?from=morvane HTTP/1.0\r\n";
const std::wstring kDownloadUrl = L"http://127.0.0.1:" MORVANE_TEST_HTTP_PORT_TEXT L"/download/morvane?v=4";

std::string fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every test starts its own copy of Morvane.exe in an empty folder, so the
// skin library it writes is its own.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder_ = fs::temp_directory_path() / ("morvane-start-" + name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        exe_ = folder_ / L"Morvane.exe";
        fs::copy_file(fs::path(windowsPath(programPath())), exe_);
        fs::remove(browserLog());
        // The prefix's browser is a recorder that writes down the URL.
        const std::wstring recorder = wide(MORVANE_TEST_BROWSER_RECORDER);
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", REG_SZ, recorder.c_str(),
                        static_cast<DWORD>((recorder.size() + 1) * sizeof(wchar_t)));
    }
    void TearDown() override {
        program_.reset();
        server_.reset();
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder_, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored);
    }

    static fs::path browserLog() { return fs::path(windowsPath(wide(MORVANE_TEST_BROWSER_LOG))); }

    void serve(LoopbackServer::Handler handler) {
        server_ = std::make_unique<LoopbackServer>(MORVANE_TEST_HTTP_PORT, std::move(handler));
    }
    void servePage(const std::string& body) {
        serve([body](const std::string&) { return LoopbackServer::Reply{LoopbackServer::response(body)}; });
    }
    void start() { program_ = std::make_unique<Program>(exe_.wstring()); }
    HWND waitForMainWindow(Duration timeout = kTimeout) { return program_->waitForWindow(kMainWindowClass, timeout); }
    void endWithF12(HWND main) {
        pressKey(main, VK_F12);
        EXPECT_EQ(program_->waitForExit(), 0u);
    }
    fs::path library() const { return folder_ / L"SkinH_EL.dll"; }

    fs::path folder_;
    fs::path exe_;
    std::unique_ptr<LoopbackServer> server_;
    std::unique_ptr<Program> program_;
};

TEST_F(StartupTest, AsksForTheVersionPageExactly) {
    servePage(gbk(L"<html>版本开始4版本结束</html>"));
    start();
    endWithF12(waitForMainWindow());
    const auto requests = server_->requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests.front();
    EXPECT_EQ(request.substr(0, kVersionRequestLine.size()), kVersionRequestLine) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
              std::string::npos)
        << request;
    EXPECT_NE(request.find("\r\nAccept: */*\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.find('#'), std::string::npos) << "the fragment is never sent";
}

TEST_F(StartupTest, NewerVersionSaysSoOpensTheDownloadPageAndEnds) {
    servePage(gbk(L"最新版本开始5版本结束"));
    start();
    const MessageDialog box = waitForMessageBox(program_->pid());
    EXPECT_EQ(box.title, L"提示");
    EXPECT_EQ(box.text, L"软件有更新,请自助下载！！");
    EXPECT_EQ(box.icon, Icon::None);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(topWindowsOf(program_->pid(), kMainWindowClass).empty()) << "the main window is never shown";
    saveScreenshot(nullptr, L"update");
    box.pressEnter();
    EXPECT_EQ(program_->waitForExit(), 0u);
    waitUntil([] { return fs::exists(browserLog()); }, "the browser to be started");
    waitUntil([] { return fileBytes(browserLog()).find(utf8(kDownloadUrl)) != std::string::npos; },
              "the download page's address in the browser's log");
    EXPECT_FALSE(fs::exists(library())) << "no skin library is written when the program ends for an update";
}

struct PageCase {
    const char* name;
    const wchar_t* page;
};

class NoUpdateTest : public StartupTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(NoUpdateTest, StartsNormally) {
    servePage(gbk(GetParam().page));
    start();
    HWND main = waitForMainWindow();
    EXPECT_TRUE(topWindowsOf(program_->pid(), L"#32770").empty()) << "no message";
    endWithF12(main);
    EXPECT_FALSE(fs::exists(browserLog()));
}

INSTANTIATE_TEST_SUITE_P(Pages, NoUpdateTest,
                         ::testing::Values(PageCase{"Equal", L"版本开始4版本结束"},
                                           PageCase{"Older", L"版本开始3版本结束"},
                                           PageCase{"InsideTheTolerance", L"版本开始4.00000001版本结束"},
                                           PageCase{"MarkedUp", L"版本开始<b>5</b>版本结束"},
                                           PageCase{"Empty", L"版本开始版本结束"},
                                           PageCase{"EndMarkerFirst", L"版本结束5版本开始"},
                                           PageCase{"NoMarkers", L"404 not found"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, FollowsARedirect) {
    serve([](const std::string& request) {
        if (request.rfind("GET /moved", 0) == 0)
            return LoopbackServer::Reply{LoopbackServer::response(gbk(L"版本开始5版本结束"))};
        return LoopbackServer::Reply{LoopbackServer::response("", "302 Found", "Location: /moved\r\n")};
    });
    start();
    waitForMessageBox(program_->pid()).pressEnter();
    EXPECT_EQ(program_->waitForExit(), 0u);
    EXPECT_EQ(server_->requests().size(), 2u);
}

// A server that takes the connection and never answers holds the start-up
// up to the check's bound (15 s), no longer.
TEST_F(StartupTest, SilentServerDelaysTheStartOnlyWithinTheBound) {
    serve([](const std::string&) {
        LoopbackServer::Reply reply;
        reply.silent = true;
        return reply;
    });
    start();
    endWithF12(waitForMainWindow(25s));
}

// A page without end is read up to its bound (4 MiB) and start-up goes on.
TEST_F(StartupTest, HugeBodyIsReadOnlyUpToItsBound) {
    serve([](const std::string&) {
        LoopbackServer::Reply reply;
        reply.bytes = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
        reply.streamBytes = std::size_t{1} << 30;  // 1 GiB of filler
        return reply;
    });
    start();
    HWND main = waitForMainWindow(25s);
    PROCESS_MEMORY_COUNTERS memory{};
    if (GetProcessMemoryInfo(program_->handle(), &memory, sizeof(memory))) {
        EXPECT_LT(memory.PeakPagefileUsage, SIZE_T{200} << 20) << "peak private bytes";
    }
    endWithF12(main);
    // What the kernel buffered on top of the 4 MiB read is all that left the server.
    EXPECT_LT(server_->bytesSent(), std::size_t{64} << 20);
}

TEST_F(StartupTest, FirstStartWritesTheHiddenLibraryAndShowsTheSkin) {
    start();
    HWND main = waitForMainWindow();
    ASSERT_TRUE(fs::exists(library()));
    // Hidden and nothing else.  (Wine reports every regular file as ready
    // for archiving whatever was set, so that one bit is not looked at.)
    EXPECT_EQ(GetFileAttributesW(library().c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_HIDDEN});
    const std::string written = fileBytes(library());
    EXPECT_EQ(written.size(), 88576u);
    EXPECT_TRUE(written == fileBytes(fs::path(windowsPath(wide(MORVANE_TEST_SKIN_LIBRARY)))))
        << "the file is the embedded image, byte for byte";
    saveScreenshot(main, L"skin9");
    endWithF12(main);
}

// What stands there already is used and never rewritten: here a recording
// stand-in, which also shows what the program hands over.
TEST_F(StartupTest, ExistingLibraryIsUsedAndGetsSkinNine) {
    const fs::path recorder(windowsPath(wide(MORVANE_TEST_RECORDER_DLL)));
    fs::copy_file(recorder, library());
    start();
    endWithF12(waitForMainWindow());
    EXPECT_TRUE(fileBytes(library()) == fileBytes(recorder)) << "the library was rewritten";
    EXPECT_EQ(fileBytes(folder_ / L"skin-call.txt"), "size=13192 magic=2E534845 text=\"\" rest=0,0,0\n");
}

struct Blocker {
    const char* name;
    bool folder;  // a folder of the library's name, else a file that is no library
};

class FatalErrorTest : public StartupTest, public ::testing::WithParamInterface<Blocker> {};

TEST_P(FatalErrorTest, EndsWithMinusOne) {
    if (GetParam().folder) {
        fs::create_directory(library());
    } else {
        std::ofstream(library(), std::ios::binary) << "cut short by a full disk";
    }
    start();
    const MessageDialog box = waitForMessageBox(program_->pid());
    EXPECT_EQ(box.title, L"错误");
    EXPECT_EQ(utf8(box.text),
              utf8(L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n"));
    EXPECT_EQ(box.icon, Icon::Error);
    EXPECT_EQ(box.owner, nullptr);
    saveScreenshot(nullptr, L"fatal");
    box.pressEnter();
    EXPECT_EQ(program_->waitForExit(), DWORD(-1));
}

INSTANTIATE_TEST_SUITE_P(Libraries, FatalErrorTest,
                         ::testing::Values(Blocker{"FolderOfThatName", true}, Blocker{"DamagedFile", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvane::gui
