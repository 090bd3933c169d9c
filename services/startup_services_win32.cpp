#include "services/startup_services.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/program.h"
#include "app/ui_helpers.h"
#include "files/byte_data.h"
#include "files/win32/whole_file.h"
#include "services/http_read.h"
#include "services/skin_install.h"
#include "services/urls.h"
#include "services/version_page.h"
#include "win32/process.h"
#include "win32/text.h"

namespace morvane {

namespace {

// The run directory's "\SkinH_EL.dll".
GbkText libraryPath() { return skinLibraryPath(runDirectoryOf(win32::toGbk(win32::executablePath()))); }

// Resources of the executable: the library image and the skins.
ByteData resourceBytes(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return {};
    const void* bytes = LockResource(LoadResource(module, info));
    return bytes ? ByteData(bytes, SizeofResource(module, info)) : ByteData();
}

[[noreturn]] void fatalError(const GbkText& message) {
    MessageBoxW(nullptr, win32::toWide(fatalErrorText(message)).c_str(), win32::toWide("错误").c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    endProgram(-1);
}

using AttachRes = int(WINAPI*)(const unsigned char* skin, int size, const char* text, int, int, int);

}  // namespace

void checkForUpdate() {
    const ByteData page(httpReadBody(kVersionPageUrl));
    if (!offersNewerVersion(bytesToText(page), programVersion)) return;
    showMessage("软件有更新,请自助下载！！", MessageIcon::none, "提示");
    ShellExecuteW(nullptr, nullptr, kDownloadPageUrl, nullptr, L"", SW_SHOWNORMAL);
    endProgram(0);
}

void ensureSkinLibrary() {
    const GbkText path = libraryPath();
    const std::wstring widePath = win32::toWide(path);
    if (GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES) return;  // file or folder: used as it is
    win32::writeWholeFile(path, {resourceBytes(L"SKIN_LIBRARY")});
    SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

void applySkin(int skinNumber) {
    ensureSkinLibrary();
    // A fresh copy: the library takes what it needs during the call.
    ByteData skin;
    if (isSkinNumber(skinNumber)) skin = resourceBytes(MAKEINTRESOURCEW(1000 + skinNumber));

    const std::wstring path = win32::toWide(libraryPath());
    HMODULE library = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    // By its bare name only through the safe search: never the current
    // directory or the PATH, where anyone could have put a library.
    if (!library) library = LoadLibraryExW(L"SkinH_EL.dll", nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    const auto attach =
        library ? reinterpret_cast<AttachRes>(reinterpret_cast<void*>(GetProcAddress(library, kSkinEntryPoint)))
                : nullptr;
    if (!attach) fatalError(missingSkinLibraryMessage());
    attach(skin.empty() ? nullptr : reinterpret_cast<const unsigned char*>(skin.data()),
           static_cast<int>(skin.size()), "", 0, 0, 0);
    // The library stays loaded for the rest of the run.
}

}  // namespace morvane
