// Finding windows and controls, and reading what they show.
#include "harness/internal.h"

#include <cwctype>

namespace morvane::gui {

namespace {

bool sameClass(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

// A program that does not answer within this time counts as hung.
constexpr UINT kSendTimeoutMs = 5000;

}  // namespace

std::vector<HWND> topWindowsOf(DWORD pid, std::wstring_view className) {
    struct Search {
        DWORD pid;
        std::wstring_view className;
        std::vector<HWND> found;
    } search{pid, className, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.pid && IsWindowVisible(window) && (s.className.empty() || sameClass(classOf(window), s.className))) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND tryFindControl(HWND parent, int id) {
    // Ids repeat at different depths (a list view inside a file dialog is
    // #1 like its OK button), so the shallowest match wins, as GetDlgItem's.
    HWND best = nullptr;
    int bestDepth = 0;
    for (HWND child : descendants(parent)) {
        if (GetDlgCtrlID(child) != id) continue;
        int depth = 0;
        for (HWND up = GetParent(child); up && up != parent; up = GetParent(up)) ++depth;
        if (!best || depth < bestDepth) {
            best = child;
            bestDepth = depth;
        }
    }
    return best;
}

HWND tryFindControl(HWND parent, std::wstring_view className, std::wstring_view text) {
    for (HWND child : descendants(parent)) {
        if (sameClass(classOf(child), className) && textOf(child) == text) return child;
    }
    return nullptr;
}

HWND findControl(HWND parent, int id, Where where) {
    if (HWND found = tryFindControl(parent, id)) return found;
    fail("no control with id " + std::to_string(id) + " in " + describe(parent), where);
}

HWND findControl(HWND parent, std::wstring_view className, std::wstring_view text, Where where) {
    if (HWND found = tryFindControl(parent, className, text)) return found;
    fail("no " + utf8(className) + " \"" + utf8(text) + "\" in " + describe(parent), where);
}

std::wstring textOf(HWND window, Where where) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
        if (!IsWindow(window)) fail("reading the text of a window that no longer exists", where);
        fail("the program does not answer WM_GETTEXTLENGTH", where);
    }
    // The length may be an upper bound (DBCS) and may grow meanwhile: leave room.
    std::wstring text(length + 64, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied)) {
        fail("the program does not answer WM_GETTEXT", where);
    }
    text.resize(std::min<std::size_t>(copied, text.size()));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

int controlId(HWND window) {
    return GetDlgCtrlID(window);
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT clientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE sizeOf(const RECT& rect) {
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT centreOf(HWND window) {
    const RECT rect = clientRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

DWORD exStyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
}

bool isVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

bool isEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

HWND ownerOf(HWND window) {
    return GetWindow(window, GW_OWNER);
}

HWND rootOf(HWND window) {
    return GetAncestor(window, GA_ROOT);
}

HWND focusOf(DWORD pid) {
    // Every window of the process, hidden ones too: the focus thread may
    // have only a hidden top-level window at the moment.
    struct Search {
        DWORD pid;
        HWND focus = nullptr;
    } search{pid};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            const DWORD thread = GetWindowThreadProcessId(window, &owner);
            if (owner != s.pid) return TRUE;
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) {
                s.focus = info.hwndFocus;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.focus;
}

HWND foregroundWindow() {
    return GetForegroundWindow();
}

std::string describe(HWND window) {
    if (!window) return "no window";
    if (!IsWindow(window)) return "a window that no longer exists";
    std::string text = utf8(classOf(window));
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) text += " #" + std::to_string(GetDlgCtrlID(window));
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length)) {
        std::wstring content(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, content.size(), reinterpret_cast<LPARAM>(content.data()), SMTO_ABORTIFHUNG,
                            1000, &copied);
        content.resize(std::min<std::size_t>(copied, 40));
        text += " \"" + utf8(content) + "\"";
    }
    return text;
}

}  // namespace morvane::gui
