#include "files/win32/file_dialog.h"

#include <commdlg.h>
#include <cderr.h>

#include <vector>

#include "win32/text.h"

namespace morvane::win32 {

namespace {

// Room for a long path: a confirmed name that does not fit would fail the dialog.
constexpr std::size_t kFileNameCapacity = 32768;

}  // namespace

DWORD fileDialogFlags(const FileDialogSettings& s) {
    DWORD flags = OFN_HIDEREADONLY;
    if (s.createPrompt) flags |= OFN_CREATEPROMPT;
    if (s.fileMustExist && s.kind == FileDialogKind::open) flags |= OFN_FILEMUSTEXIST;
    if (s.overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (s.pathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (s.keepCurrentDir) flags |= OFN_NOCHANGEDIR;
    return flags;
}

std::wstring fileDialogFilter(const GbkText& filter) {
    std::wstring out;
    for (const auto& entry : parseFileTypeList(filter)) {
        out += toWide(entry.label);
        out += L'\0';
        out += toWide(entry.pattern);
        out += L'\0';
    }
    if (!out.empty()) out += L'\0';
    return out;
}

bool runFileDialog(FileDialogSettings& settings, HWND owner) {
    const std::wstring filter = fileDialogFilter(settings.filter);
    const int entryCount = static_cast<int>(parseFileTypeList(settings.filter).size());
    const std::wstring title = toWide(settings.title);
    const std::wstring initialDir = toWide(settings.initialDir);
    const std::wstring defaultExt = toWide(settings.defaultExt);
    const std::wstring proposed = toWide(settings.fileName);

    std::vector<wchar_t> fileName(kFileNameCapacity, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(initialFileTypeNumber(settings.initialFilter, entryCount));
    ofn.lpstrFile = fileName.data();
    ofn.nMaxFile = static_cast<DWORD>(fileName.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = fileDialogFlags(settings);

    const auto show = [&] {
        return settings.kind == FileDialogKind::save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    };
    if (!proposed.empty() && proposed.size() < fileName.size()) {
        proposed.copy(fileName.data(), proposed.size());
    }
    BOOL confirmed = show();
    if (!confirmed && !proposed.empty() && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        fileName.assign(fileName.size(), L'\0');
        confirmed = show();
    }
    if (!confirmed) return false;
    settings.fileName = toGbk(fileName.data());
    return true;
}

}  // namespace morvane::win32
