#include "skinlib/dll/skinner.h"

#include <windows.h>
#include <commctrl.h>

#include "skinlib/dll/painting.h"
#include "skinlib/dll/theme.h"

namespace morvane::skinh {
namespace {

using skin::Role;

constexpr UINT_PTR kSubclassId = 0x53484B4E;
// Windows that carry this property keep the program's own look.
constexpr wchar_t kKeepProperty[] = L"SkinH.Keep";
// Marks a subclassed window with its kind (comctl32 has no exported way to
// read a subclass's data back).
constexpr wchar_t kKindProperty[] = L"SkinH.Kind";

enum class Kind : DWORD_PTR { None, Container, Tab, Button, Edit };

// The library runs on the one thread that called it; no locking needed.
Theme g_theme;
bool g_haveTheme = false;
HHOOK g_hook = nullptr;
HWND g_hotButton = nullptr;  // the push button under the mouse, if any

LRESULT CALLBACK skinProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

bool isKept(HWND window) { return window && GetPropW(window, kKeepProperty) != nullptr; }

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t buffer[64];
    return GetClassNameW(window, buffer, 64) > 0 && lstrcmpiW(buffer, name) == 0;
}

LONG style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// A brush of a system colour, either as a real brush or as the COLOR_x + 1
// shorthand of window classes.  Such answers and class brushes are what a
// window has when the program chose no colour of its own.
bool isSystemColourBrush(ULONG_PTR value) {
    if (value >= 1 && value <= COLOR_MENUBAR + 1) return true;
    for (int i = 0; i <= COLOR_MENUBAR; ++i)
        if (value == reinterpret_cast<ULONG_PTR>(GetSysColorBrush(i))) return true;
    return false;
}

bool solidColour(ULONG_PTR brush, COLORREF& colour) {
    if (brush >= 1 && brush <= COLOR_MENUBAR + 1) {
        colour = GetSysColor(static_cast<int>(brush - 1));
        return true;
    }
    LOGBRUSH info;
    if (!brush || GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof info, &info) != sizeof info ||
        info.lbStyle != BS_SOLID)
        return false;
    colour = info.lbColor;
    return true;
}

Kind kindOf(HWND window) {
    return static_cast<Kind>(reinterpret_cast<ULONG_PTR>(GetPropW(window, kKindProperty)));
}

bool isPushButton(HWND button) {
    const LONG s = style(button);
    const LONG type = s & BS_TYPEMASK;
    return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(s & (BS_BITMAP | BS_ICON));
}

// Tabs along the top, drawn as text: the layout the skin draws itself.
bool isPlainTab(HWND tab) {
    return !(style(tab) & (TCS_BUTTONS | TCS_VERTICAL | TCS_BOTTOM | TCS_OWNERDRAWFIXED)) &&
           !SendMessageW(tab, TCM_GETIMAGELIST, 0, 0);
}

bool isProgramClass(HWND window) {
    return GetClassLongPtrW(window, GCLP_HMODULE) == reinterpret_cast<ULONG_PTR>(GetModuleHandleW(nullptr));
}

Kind classify(HWND window) {
    if (hasClass(window, L"Button")) return isPushButton(window) ? Kind::Button : Kind::None;
    if (hasClass(window, L"Edit")) return Kind::Edit;
    if (hasClass(window, WC_TABCONTROLW)) return Kind::Tab;
    // Dialogs (message boxes among them) and the program's own windows hold
    // controls; windows of other system classes (menus, tooltips, IME) are
    // left alone.
    if (hasClass(window, L"#32770") || isProgramClass(window)) return Kind::Container;
    return Kind::None;
}

void attach(HWND window) {
    if (kindOf(window) != Kind::None) return;
    const Kind kind = classify(window);
    if (kind == Kind::None || !SetWindowSubclass(window, skinProc, kSubclassId, static_cast<DWORD_PTR>(kind))) return;
    if (!SetPropW(window, kKindProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(kind))))
        RemoveWindowSubclass(window, skinProc, kSubclassId);
}

struct Surface {
    COLORREF colour = 0;
    HBRUSH brush = nullptr;
    bool isPage = false;
};

// What the skin paints as the background of `window`, where its children
// show; false where the skin paints nothing (kept windows, windows with a
// background of the program's own choice, windows it does not skin).
bool surfaceOf(HWND window, Surface& surface, int depth = 0) {
    if (!window || depth > 32 || isKept(window)) return false;
    switch (kindOf(window)) {
        case Kind::Tab:
            if (!isPlainTab(window)) return false;
            surface = {g_theme[Role::PageBack], g_theme.pageBrush, true};
            return true;
        case Kind::Container: {
            const bool dialog = hasClass(window, L"#32770");
            if (!dialog && !isSystemColourBrush(GetClassLongPtrW(window, GCLP_HBRBACKGROUND))) return false;
            // A child container continues whatever lies behind it.
            if ((style(window) & WS_CHILD) && surfaceOf(GetParent(window), surface, depth + 1)) return true;
            surface = {g_theme[Role::WindowBack], g_theme.windowBrush, false};
            return true;
        }
        default:
            return false;
    }
}

// The background behind `child`, a child of `parent`.  A control that the
// program placed beside a tab control but over its page shows the page.
bool surfaceBehind(HWND parent, HWND child, Surface& surface) {
    RECT box;
    if (child && GetWindowRect(child, &box)) {
        const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        for (HWND tab = FindWindowExW(parent, nullptr, WC_TABCONTROLW, nullptr); tab;
             tab = FindWindowExW(parent, tab, WC_TABCONTROLW, nullptr)) {
            if (tab == child || !IsWindowVisible(tab)) continue;
            RECT page;
            GetClientRect(tab, &page);
            SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
            MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&page), 2);
            if (PtInRect(&page, centre) && surfaceOf(tab, surface)) return true;
        }
    }
    return surfaceOf(parent, surface);
}

// The colour behind a control whose parent the skin may not paint.
COLORREF colourBehind(HWND control, HDC dc) {
    const HWND parent = GetParent(control);
    Surface surface;
    if (surfaceBehind(parent, control, surface)) return surface.colour;
    COLORREF colour;
    const auto answer = static_cast<ULONG_PTR>(
        SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    if (answer && !isSystemColourBrush(answer) && solidColour(answer, colour)) return colour;
    if (solidColour(GetClassLongPtrW(parent, GCLP_HBRBACKGROUND), colour)) return colour;
    return GetSysColor(COLOR_BTNFACE);
}

void paintButtonInto(HWND button, HDC dc) {
    paintButton(button, dc, g_theme, colourBehind(button, dc), g_hotButton == button);
}

// The button procedure draws at once, outside WM_PAINT, whenever its state
// changes; the skin's face is then drawn over it straight away.
void repaintButton(HWND button) {
    if (!IsWindow(button) || !IsWindowVisible(button) || kindOf(button) != Kind::Button || isKept(button) ||
        !isPushButton(button))
        return;
    if (HDC dc = GetDC(button)) {
        paintButtonInto(button, dc);
        ReleaseDC(button, dc);
    }
}

bool changesButtonLook(UINT message) {
    switch (message) {
        case BM_SETSTATE: case BM_SETSTYLE: case BM_SETCHECK: case WM_SETFOCUS: case WM_KILLFOCUS:
        case WM_ENABLE: case WM_SETTEXT: case WM_SETFONT: case WM_UPDATEUISTATE: case WM_CHANGEUISTATE:
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP: case WM_KEYDOWN: case WM_KEYUP:
        case WM_CAPTURECHANGED: case WM_CANCELMODE: case WM_SYSCOLORCHANGE:
            return true;
        default:
            return false;
    }
}

LRESULT buttonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            if (wParam) {
                paintButtonInto(button, reinterpret_cast<HDC>(wParam));
                return 0;
            }
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(button, &ps)) {
                paintButtonInto(button, dc);
                EndPaint(button, &ps);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            paintButtonInto(button, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_MOUSEMOVE:
            if (g_hotButton != button) {
                const HWND previous = g_hotButton;
                g_hotButton = button;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
                TrackMouseEvent(&track);
                repaintButton(previous);
                repaintButton(button);
            }
            return DefSubclassProc(button, message, wParam, lParam);
        case WM_MOUSELEAVE:
            if (g_hotButton == button) {
                g_hotButton = nullptr;
                repaintButton(button);
            }
            return DefSubclassProc(button, message, wParam, lParam);
        default:
            break;
    }
    if (!changesButtonLook(message)) return DefSubclassProc(button, message, wParam, lParam);
    // The handler may run a whole command (BN_CLICKED), even destroy the
    // button: repaintButton checks that it is still there.
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    repaintButton(button);
    return result;
}

COLORREF tabBehind(HWND tab, HDC dc) { return colourBehind(tab, dc); }

LRESULT tabMessage(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            if (wParam) {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                paintTab(tab, dc, g_theme, tabBehind(tab, dc));
                return 0;
            }
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(tab, &ps)) {
                paintTab(tab, dc, g_theme, tabBehind(tab, dc));
                EndPaint(tab, &ps);
            }
            return 0;
        }
        case WM_PRINTCLIENT: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            paintTab(tab, dc, g_theme, tabBehind(tab, dc));
            return 0;
        }
        default:
            return DefSubclassProc(tab, message, wParam, lParam);
    }
}

void frameEdit(HWND edit) {
    if (!IsWindowVisible(edit) || !(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
    const bool readOnly = (style(edit) & ES_READONLY) || !IsWindowEnabled(edit);
    // The inner line takes the box's own background, as its parent answers it.
    HBRUSH inner = nullptr;
    if (HDC dc = GetDC(edit)) {
        inner = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(edit), readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                      reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
        ReleaseDC(edit, dc);
    }
    if (!inner) inner = GetSysColorBrush(readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
    const bool focused = !readOnly && GetFocus() == edit;
    paintEditFrame(edit, g_theme[focused ? Role::ButtonFocus : Role::EditBorder], inner);
}

LRESULT editMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_STYLECHANGED: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            if (IsWindow(edit)) frameEdit(edit);
            return result;
        }
        default:
            return DefSubclassProc(edit, message, wParam, lParam);
    }
}

// WM_CTLCOLOR* at a parent: the program answers first.  Its answer stands
// when it chose a brush of its own, or when parent or control is kept;
// otherwise the skin's colours replace the system ones, except a text colour
// that the program has set itself.
LRESULT ctlColorMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = DefSubclassProc(parent, message, wParam, lParam);
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    if (isKept(control) || (answer && !isSystemColourBrush(static_cast<ULONG_PTR>(answer)))) return answer;

    COLORREF back, text;
    HBRUSH brush;
    Surface surface;
    if (message == WM_CTLCOLOREDIT || (message == WM_CTLCOLORSTATIC && control && hasClass(control, L"Edit"))) {
        // Read-only and disabled boxes ask with WM_CTLCOLORSTATIC.
        const bool editable = message == WM_CTLCOLOREDIT;
        back = g_theme[editable ? Role::EditBack : Role::EditReadOnlyBack];
        brush = editable ? g_theme.editBrush : g_theme.readOnlyBrush;
        text = g_theme[Role::EditText];
    } else if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        if (!surfaceBehind(parent, control, surface)) return answer;
        back = surface.colour;
        brush = surface.brush;
        text = g_theme[surface.isPage ? Role::PageText : Role::WindowText];
    } else if (message == WM_CTLCOLORDLG) {
        if (!surfaceOf(parent, surface)) return answer;
        back = surface.colour;
        brush = surface.brush;
        text = g_theme[Role::WindowText];
    } else {
        return answer;
    }
    const bool programText = GetTextColor(dc) != GetSysColor(COLOR_WINDOWTEXT);
    SetBkColor(dc, back);
    if (!programText) SetTextColor(dc, text);
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT CALLBACK skinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR kind) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, skinProc, kSubclassId);
        RemovePropW(window, kKindProperty);
        if (g_hotButton == window) g_hotButton = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    if (!g_haveTheme || isKept(window)) return DefSubclassProc(window, message, wParam, lParam);

    const auto k = static_cast<Kind>(kind);
    const bool parentKind = k == Kind::Container || k == Kind::Tab;
    if (parentKind && (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN ||
                       message == WM_CTLCOLORDLG))
        return ctlColorMessage(window, message, wParam, lParam);

    switch (k) {
        case Kind::Button:
            if (isPushButton(window)) return buttonMessage(window, message, wParam, lParam);
            break;
        case Kind::Tab:
            if (isPlainTab(window)) return tabMessage(window, message, wParam, lParam);
            break;
        case Kind::Edit:
            return editMessage(window, message, wParam, lParam);
        case Kind::Container:
            if (message == WM_ERASEBKGND && !hasClass(window, L"#32770")) {
                Surface surface;
                if (surfaceOf(window, surface)) {
                    RECT client;
                    GetClientRect(window, &client);
                    FillRect(reinterpret_cast<HDC>(wParam), &client, surface.brush);
                    return 1;
                }
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) attach(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

BOOL CALLBACK attachChild(HWND window, LPARAM) {
    attach(window);
    return TRUE;
}

BOOL CALLBACK attachTree(HWND window, LPARAM) {
    attach(window);
    EnumChildWindows(window, attachChild, 0);
    return TRUE;
}

BOOL CALLBACK redrawTree(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

bool applySkin(const skin::Skin& skin) {
    Theme fresh;
    if (!makeTheme(skin, fresh)) return false;
    if (!g_hook) {
        g_hook = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
        if (!g_hook) {
            releaseTheme(fresh);
            return false;
        }
        // Subclassed windows and the hook point into this library: it must
        // never be unloaded while the process runs.
        HMODULE self;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&cbtHook), &self);
    }
    Theme previous = g_theme;
    const bool hadPrevious = g_haveTheme;
    g_theme = fresh;
    g_haveTheme = true;
    EnumThreadWindows(GetCurrentThreadId(), attachTree, 0);
    EnumThreadWindows(GetCurrentThreadId(), redrawTree, 0);
    // The repaint comes later through WM_PAINT, which uses the new brushes.
    if (hadPrevious) releaseTheme(previous);
    return true;
}

}  // namespace morvane::skinh
