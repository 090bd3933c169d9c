// The probe DLL: answers the harness from inside the program under test.
// See probe.h.
#include "harness/probe.h"

namespace {

using namespace morvane::gui::probe;

void add(std::wstring& out, const std::wstring& field) {
    out += field;
    out += kField;
}

// One record per item, depth first: depth, type, state, id, text.
void describeMenu(HMENU menu, int depth, std::wstring& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 511;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        add(out, std::to_wstring(depth));
        add(out, std::to_wstring(info.fType));
        add(out, std::to_wstring(info.fState));
        add(out, std::to_wstring(info.hSubMenu ? 0 : info.wID));
        out += text;
        out += kRecord;
        if (info.hSubMenu) describeMenu(info.hSubMenu, depth + 1, out);
    }
}

// height, weight, charset, italic, underline, is DEFAULT_GUI_FONT, face.
bool describeFont(HWND window, std::wstring& out) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const bool system = font == nullptr;  // the control draws with the system font
    if (system) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTW logFont{};
    if (!GetObjectW(font, sizeof logFont, &logFont)) return false;
    add(out, std::to_wstring(logFont.lfHeight));
    add(out, std::to_wstring(logFont.lfWeight));
    add(out, std::to_wstring(logFont.lfCharSet));
    add(out, std::to_wstring(logFont.lfItalic ? 1 : 0));
    add(out, std::to_wstring(logFont.lfUnderline ? 1 : 0));
    add(out, std::to_wstring(font == GetStockObject(DEFAULT_GUI_FONT) ? 1 : 0));
    add(out, std::to_wstring(system ? 1 : 0));
    out += logFont.lfFaceName;
    return true;
}

void answer(WPARAM request, HWND window) {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, answerName(GetCurrentProcessId()).c_str());
    if (!mapping) return;
    auto* shared = static_cast<Answer*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Answer)));
    if (shared) {
        std::wstring text;
        bool ok = false;
        switch (request) {
        case kMenuBar:
            if (HMENU bar = GetMenu(window)) {
                describeMenu(bar, 0, text);
                ok = true;
            }
            break;
        case kPopupMenu:
            if (auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0))) {
                describeMenu(menu, 0, text);
                ok = true;
            }
            break;
        case kFont:
            ok = describeFont(window, text);
            break;
        case kFocus:
            SetFocus(window);
            ok = GetFocus() == window;
            break;
        }
        text.resize(std::min<std::size_t>(text.size(), sizeof shared->text / sizeof(wchar_t) - 1));
        text.copy(shared->text, text.size());
        shared->text[text.size()] = L'\0';
        shared->ok = ok;
        shared->done = 1;
        UnmapViewOfFile(shared);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK morvaneProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == RegisterWindowMessageW(kMessage)) answer(call->wParam, reinterpret_cast<HWND>(call->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
