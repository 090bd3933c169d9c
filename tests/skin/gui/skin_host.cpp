// A host for SkinH_EL.dll: windows like the program's, the library loaded
// and called the way the program calls it, then the screen inspected.
//
//   skin_host.exe DLL SKIN9 OUTDIR
//
// Writes OUTDIR\result.txt (the checks, then PASS or FAIL on the last line)
// and screenshots OUTDIR\skin9.png and OUTDIR\vivid.png.  Meant to run inside
// a Wine virtual desktop of 1280 x 1024, which reports no exit code.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "skinlib/skin_format.h"

namespace {

using morvane::skin::Role;
using morvane::skin::Skin;
using AttachRes = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

constexpr COLORREF kPink = RGB(255, 128, 192);
constexpr COLORREF kKeptText = RGB(144, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 160);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr wchar_t kKeep[] = L"SkinH.Keep";

std::vector<std::string> g_log;
int g_failures = 0;

void check(bool ok, const std::string& what) {
    if (!ok) ++g_failures;
    g_log.push_back((ok ? "ok   " : "FAIL ") + what);
    std::printf("%s\n", g_log.back().c_str());
    std::fflush(stdout);
}

std::string hex(COLORREF c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buffer;
}

// ---- windows of the host ------------------------------------------------

HFONT g_guiFont, g_bigFont, g_boldFont;
HBRUSH g_yellowBrush;
int g_clicks = 0;
HWND g_lastClicked = nullptr;

struct Page {
    std::vector<HWND> controls;
};

struct Main {
    HWND window, tab, transparentLabel, printedLabel, edit1, edit2, edit3, convert, save, import, keptLabel, yellowLabel, page2Edit,
        page2Button;
    Page pages[2];
} g_main;

struct Pink {
    HWND window, label, close;
} g_pink;

struct Later {
    HWND window, tab, button, edit, keptLabel, pageButton;
} g_later;

void showPage(Page* pages, int count, int current) {
    for (int i = 0; i < count; ++i)
        for (HWND control : pages[i].controls) ShowWindow(control, i == current ? SW_SHOW : SW_HIDE);
}

LRESULT answerCommonMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                ++g_clicks;
                g_lastClicked = reinterpret_cast<HWND>(lParam);
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == TCN_SELCHANGE && header->hwndFrom == g_main.tab)
                showPage(g_main.pages, 2, TabCtrl_GetCurSel(g_main.tab));
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        if (control == g_main.keptLabel) {
            // A system brush: without the keep mark the skin would replace it.
            SetTextColor(dc, kKeptText);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        if (control == g_main.yellowLabel) {
            SetTextColor(dc, kRed);
            SetBkColor(dc, kYellow);
            return reinterpret_cast<LRESULT>(g_yellowBrush);
        }
    }
    return answerCommonMessages(window, message, wParam, lParam);
}

// The program's page controls are children of the tab control, which itself
// neither forwards their notifications nor knows transparent labels.
LRESULT CALLBACK pageHostProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return SendMessageW(GetParent(tab), message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == g_main.transparentLabel) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, RGB(0, 0, 0));
                return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(tab, message, wParam, lParam);
}

LRESULT CALLBACK pinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            // The class brush is the system one: only the keep mark saves the pink.
            RECT client;
            GetClientRect(window, &client);
            const HBRUSH pink = CreateSolidBrush(kPink);
            FillRect(reinterpret_cast<HDC>(wParam), &client, pink);
            DeleteObject(pink);
            return 1;
        }
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kKeptText);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        default:
            return answerCommonMessages(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK laterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == g_later.keptLabel) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kKeptText);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return answerCommonMessages(window, message, wParam, lParam);
}

// A label of the program's own class that shows its parent through itself
// by asking the parent to paint into the label's DC (WM_ERASEBKGND, then
// WM_PRINTCLIENT), as the program's transparent labels do.
LRESULT CALLBACK printedLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(label, &ps);
            HWND parent = GetParent(label);
            RECT inParent;
            GetWindowRect(label, &inParent);
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&inParent), 2);
            const int saved = SaveDC(dc);
            OffsetViewportOrgEx(dc, -inParent.left, -inParent.top, nullptr);
            SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
            RestoreDC(dc, saved);
            RECT client;
            GetClientRect(label, &client);
            wchar_t text[64];
            GetWindowTextW(label, text, 64);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA)));
            DrawTextW(dc, text, -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, old);
            EndPaint(label, &ps);
            return 0;
        }
        case WM_SETFONT:
            SetWindowLongPtrW(label, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            return 0;
        default:
            return DefWindowProcW(label, message, wParam, lParam);
    }
}

HWND make(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent,
          HFONT font = nullptr, DWORD exStyle = 0) {
    HWND window = CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : g_guiFont), FALSE);
    return window;
}

void registerClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

HWND addTab(HWND parent, int x, int y, int w, int h, std::initializer_list<const wchar_t*> pages) {
    HWND tab = make(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, x, y, w, h, parent);
    int index = 0;
    for (const wchar_t* text : pages) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(text);
        TabCtrl_InsertItem(tab, index++, &item);
    }
    SetWindowSubclass(tab, pageHostProc, 1, 0);
    return tab;
}

constexpr DWORD kFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void createMain() {
    Main& m = g_main;
    m.window = CreateWindowExW(0, L"SkinHostMain", L"Morvane skin host", kFrame, 4, 4, 862, 560, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    m.tab = addTab(m.window, 2, -2, 848, 488, {L"手动曲谱转换", L"自动曲谱转换"});
    Page& p1 = m.pages[0];
    p1.controls = {
        m.transparentLabel = make(L"Static", L"自动数谱", SS_LEFT, 358, 26, 56, 16, m.tab),
        m.edit1 = make(L"Edit", L"1 2 3 0 5 | 5 3 2 1 | z b ！ @", ES_MULTILINE | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                       8, 43, 832, 183, m.tab, g_bigFont),
        make(L"Static", L"手动曲谱", SS_LEFT, 358, 226, 56, 16, m.tab),
        m.edit2 = make(L"Edit", L"Q W E ---- T | T E W Q | A G 1 2", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER,
                       8, 242, 832, 200, m.tab, g_boldFont),
        m.printedLabel = make(L"SkinHostPrintedLabel", L"请输入曲谱名称", 0, 8, 458, 88, 24, m.tab),
        m.edit3 = make(L"Edit", L"", ES_AUTOHSCROLL | WS_TABSTOP, 99, 453, 176, 24, m.tab, nullptr, WS_EX_CLIENTEDGE),
        m.convert = make(L"Button", L"转换", BS_PUSHBUTTON | WS_TABSTOP, 288, 455, 38, 24, m.tab),
        m.save = make(L"Button", L"保存曲谱", BS_PUSHBUTTON | WS_TABSTOP, 337, 454, 61, 24, m.tab),
        m.import = make(L"Button", L"导入数谱", BS_PUSHBUTTON | WS_TABSTOP, 600, 456, 61, 24, m.tab),
    };
    SetPropW(m.printedLabel, kKeep, reinterpret_cast<HANDLE>(1));
    m.pages[1].controls = {
        make(L"Static", L"数字简谱", SS_LEFT, 368, 27, 64, 16, m.tab),
        m.page2Edit = make(L"Edit", L"1,2;3,4;", ES_MULTILINE | WS_VSCROLL | WS_BORDER, 8, 48, 832, 183, m.tab, g_bigFont),
        m.page2Button = make(L"Button", L"转换", BS_PUSHBUTTON | WS_TABSTOP, 272, 457, 88, 24, m.tab),
    };
    showPage(m.pages, 2, 0);
    // Placed on the window over the page, like the program's version read-out.
    m.keptLabel = make(L"Static", L"版本 4", SS_LEFT | WS_BORDER, 744, 444, 60, 32, m.window);
    SetPropW(m.keptLabel, kKeep, reinterpret_cast<HANDLE>(1));
    m.yellowLabel = make(L"Static", L"own colours", SS_LEFT, 8, 494, 120, 24, m.window);
}

void createPink() {
    Pink& p = g_pink;
    p.window = CreateWindowExW(0, L"SkinHostPink", L"", WS_POPUP | WS_BORDER, 880, 10, 370, 142, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetPropW(p.window, kKeep, reinterpret_cast<HANDLE>(1));
    // The button lies over the label's corner and must stay in front of it.
    p.label = make(L"Static", L"\r\n自己对着曲谱去写，然后在抄很累啊，有木有？", SS_LEFT | WS_BORDER | WS_CLIPSIBLINGS,
                   23, 19, 328, 104, p.window);
    SetPropW(p.label, kKeep, reinterpret_cast<HANDLE>(1));
    p.close = make(L"Button", L"关闭", BS_PUSHBUTTON | WS_TABSTOP, 269, 88, 80, 32, p.window);
    SetWindowPos(p.close, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void createLater() {
    Later& l = g_later;
    l.window = CreateWindowExW(0, L"SkinHostLater", L"Created after the skin", kFrame, 880, 180, 380, 300, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    l.tab = addTab(l.window, 8, 8, 356, 200, {L"第一步", L"第二步"});
    l.pageButton = make(L"Button", L"下一步", BS_PUSHBUTTON | WS_TABSTOP, 240, 150, 96, 32, l.tab);
    l.edit = make(L"Edit", L"text", ES_AUTOHSCROLL | WS_TABSTOP, 16, 40, 200, 24, l.tab, nullptr, WS_EX_CLIENTEDGE);
    l.button = make(L"Button", L"结束帮助", BS_PUSHBUTTON | WS_TABSTOP, 16, 220, 96, 32, l.window);
    l.keptLabel = make(L"Static", L"kept", SS_LEFT, 200, 220, 80, 32, l.window);
    SetPropW(l.keptLabel, kKeep, reinterpret_cast<HANDLE>(1));
}

void pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

void repaintAll() {
    for (HWND w : {g_main.window, g_pink.window, g_later.window})
        if (w) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump(400);
}

// ---- the screen ------------------------------------------------------------

// The whole screen, taken as the GUI tests take it.
using Shot = morvane::gui::Image;

Shot capture() { return morvane::gui::capture(); }

COLORREF colourAt(const Shot& shot, POINT p) {
    if (p.x < 0 || p.y < 0 || p.x >= shot.width || p.y >= shot.height) return CLR_INVALID;
    return shot.at(p.x, p.y);
}

void savePng(const std::wstring& path, const Shot& shot) { morvane::gui::savePng(shot, path); }

POINT clientPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT windowPoint(HWND window, int x, int y) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left + x, r.top + y};
}

SIZE clientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

bool similar(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void expectColour(const Shot& shot, POINT p, COLORREF want, const std::string& what, int tolerance = 0) {
    const COLORREF got = colourAt(shot, p);
    check(similar(got, want, tolerance), what + ": want " + hex(want) + ", got " + hex(got));
}

int countColour(const Shot& shot, HWND window, COLORREF colour) {
    RECT r;
    GetWindowRect(window, &r);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) count += colourAt(shot, {x, y}) == colour;
    return count;
}

COLORREF colourOf(const Skin& skin, Role role) {
    const auto c = skin.colour(role);
    return RGB(c.r, c.g, c.b);
}

// The face colour at the left edge of a button, halfway down.
COLORREF buttonFaceAt(const Skin& skin, HWND button, Role top, Role bottom) {
    const int h = clientSize(button).cy, y = h / 2, w = h > 1 ? y * 256 / (h - 1) : 0;
    const COLORREF a = colourOf(skin, top), b = colourOf(skin, bottom);
    auto channel = [w](int x, int z) { return x + (z - x) * w / 256; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

POINT buttonFacePoint(HWND button) { return clientPoint(button, 2, clientSize(button).cy / 2); }

// A point of the main tab's page that no control covers.
POINT pagePoint() { return clientPoint(g_main.tab, 600, 234); }

POINT mainBackgroundPoint() {
    const SIZE s = clientSize(g_main.window);
    return clientPoint(g_main.window, s.cx - 3, s.cy - 3);
}

POINT tabItemPoint(HWND tab, int index) {
    RECT r{};
    TabCtrl_GetItemRect(tab, index, &r);
    return clientPoint(tab, r.left + 4, r.bottom - 3);
}

void moveMouse(POINT p) {
    morvane::gui::moveTo(p);
    pump(200);
}

void clickMouse(POINT p) {
    morvane::gui::mouseDown(p);
    morvane::gui::mouseUp(p);
    pump(300);
}

std::vector<unsigned char> readFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        unsigned char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

// Calls the library with a private heap copy, destroyed right after the
// call: a library that kept the address would read freed, scribbled memory.
int attachCopy(AttachRes attach, const std::vector<unsigned char>& bytes, int size) {
    auto copy = std::make_unique<unsigned char[]>(bytes.size() + 1);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    const int result = attach(copy.get(), size, "", 0, 0, 0);
    std::memset(copy.get(), 0xFF, bytes.size() + 1);
    return result;
}

// ---- the checks --------------------------------------------------------------

void checkSkinned(const Shot& shot, const Skin& skin, const std::string& name) {
    const COLORREF btnFace = GetSysColor(COLOR_BTNFACE);
    expectColour(shot, mainBackgroundPoint(), colourOf(skin, Role::WindowBack), name + " main window background");
    expectColour(shot, pagePoint(), colourOf(skin, Role::PageBack), name + " main tab page");
    expectColour(shot, tabItemPoint(g_main.tab, 0), colourOf(skin, Role::PageBack), name + " selected tab");
    expectColour(shot, tabItemPoint(g_main.tab, 1), colourOf(skin, Role::TabFace), name + " other tab");
    for (HWND button : {g_main.convert, g_main.import, g_later.button, g_later.pageButton, g_pink.close})
        expectColour(shot, buttonFacePoint(button), buttonFaceAt(skin, button, Role::ButtonFaceTop, Role::ButtonFaceBottom),
                     name + " button face", 2);
    expectColour(shot, clientPoint(g_main.edit1, 400, 150), colourOf(skin, Role::EditBack), name + " edit box");
    expectColour(shot, clientPoint(g_main.edit2, 400, 150), colourOf(skin, Role::EditReadOnlyBack),
                 name + " read-only edit box");
    expectColour(shot, windowPoint(g_main.edit3, 0, 12), colourOf(skin, Role::EditBorder), name + " sunken edit frame");
    expectColour(shot, windowPoint(g_later.edit, 0, 12), colourOf(skin, Role::EditBorder),
                 name + " sunken edit frame, later window");
    expectColour(shot, clientPoint(g_later.window, 4, 4), colourOf(skin, Role::WindowBack),
                 name + " later window background");
    expectColour(shot, clientPoint(g_later.tab, 200, 120), colourOf(skin, Role::PageBack), name + " later tab page");

    // The transparent label shows the page between its letters.
    const int page = countColour(shot, g_main.transparentLabel, colourOf(skin, Role::PageBack));
    const int text = countColour(shot, g_main.transparentLabel, RGB(0, 0, 0));
    check(page > 56 * 16 / 2 && text > 0,
          name + " transparent label: " + std::to_string(page) + " page and " + std::to_string(text) + " text pixels");

    const int printedPage = countColour(shot, g_main.printedLabel, colourOf(skin, Role::PageBack));
    const int printedText = countColour(shot, g_main.printedLabel, RGB(0, 0, 0));
    check(printedPage > 88 * 24 / 2 && printedText > 0, name + " label that prints its parent: " +
                                                            std::to_string(printedPage) + " page and " +
                                                            std::to_string(printedText) + " text pixels");

    // What the program coloured itself stays as it is.
    expectColour(shot, clientPoint(g_pink.window, 4, 4), kPink, name + " kept pink window");
    expectColour(shot, clientPoint(g_pink.label, 2, 90), btnFace, name + " kept label on the pink window");
    expectColour(shot, clientPoint(g_main.keptLabel, 1, 28), btnFace, name + " kept label");
    check(countColour(shot, g_main.keptLabel, kKeptText) > 0, name + " kept label keeps its text colour");
    expectColour(shot, clientPoint(g_main.yellowLabel, 110, 20), kYellow, name + " label with its own brush");
    check(countColour(shot, g_main.yellowLabel, kRed) > 0, name + " label with its own brush keeps its text colour");
    expectColour(shot, clientPoint(g_later.keptLabel, 70, 28), btnFace, name + " kept label, later window");
}

void checkBehaviour(const Skin& skin) {
    // Clicks by message, by keyboard and by the mouse.
    g_clicks = 0;
    SendMessageW(g_main.convert, BM_CLICK, 0, 0);
    check(g_clicks == 1 && g_lastClicked == g_main.convert, "BM_CLICK gives BN_CLICKED");
    SetFocus(g_main.save);
    SendMessageW(g_main.save, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(g_main.save, WM_KEYUP, VK_SPACE, 0);
    check(g_clicks == 2 && g_lastClicked == g_main.save, "space bar gives BN_CLICKED");
    clickMouse(clientPoint(g_later.button, 48, 16));
    check(g_clicks == 3 && g_lastClicked == g_later.button, "mouse click gives BN_CLICKED");
    {
        const Shot shot = capture();
        expectColour(shot, buttonFacePoint(g_later.button),
                     buttonFaceAt(skin, g_later.button, Role::ButtonHotTop, Role::ButtonHotBottom),
                     "button under the mouse is hot", 2);
    }
    moveMouse({1270, 1010});

    // Edits take input; read-only ones still select.
    SetWindowTextW(g_main.edit1, L"");
    SetFocus(g_main.edit1);
    for (wchar_t c : std::wstring(L"ab")) SendMessageW(g_main.edit1, WM_CHAR, c, 0);
    wchar_t text[16] = {};
    GetWindowTextW(g_main.edit1, text, 16);
    check(std::wstring(text) == L"ab", "edit box takes typed text");
    SendMessageW(g_main.edit2, EM_SETSEL, 0, -1);
    DWORD from = 0, to = 0;
    SendMessageW(g_main.edit2, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    check(from == 0 && to == static_cast<DWORD>(GetWindowTextLengthW(g_main.edit2)), "read-only edit box selects");

    // Tabs switch pages, by message and by the mouse.
    TabCtrl_SetCurFocus(g_main.tab, 1);
    pump(300);
    check(TabCtrl_GetCurSel(g_main.tab) == 1 && IsWindowVisible(g_main.page2Edit) && !IsWindowVisible(g_main.edit1),
          "tab control switches to page 2");
    {
        const Shot shot = capture();
        expectColour(shot, clientPoint(g_main.tab, 600, 240), colourOf(skin, Role::PageBack), "page 2 body");
        expectColour(shot, tabItemPoint(g_main.tab, 1), colourOf(skin, Role::PageBack), "page 2 tab selected");
    }
    clickMouse(tabItemPoint(g_main.tab, 0));
    check(TabCtrl_GetCurSel(g_main.tab) == 0 && IsWindowVisible(g_main.edit1), "mouse on the first tab switches back");
    moveMouse({1270, 1010});
    SetFocus(g_main.edit1);
    SetWindowTextW(g_main.edit1, L"1 2 3 0 5 | 5 3 2 1 | z b ！ @");
    pump(200);
}

// A message box is a system dialog opened later; the skin reaches it too
// and its button still closes it.  A timer inside the box's own modal loop
// looks at it and clicks OK.
struct BoxCheck {
    const Skin* skin;
    std::wstring png;
    bool seen;
} g_box;

BOOL CALLBACK findBox(HWND window, LPARAM found) {
    wchar_t cls[16];
    if (IsWindowVisible(window) && GetClassNameW(window, cls, 16) && std::wstring(cls) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK boxTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;  // not up yet
    KillTimer(nullptr, id);
    g_box.seen = true;
    pump(300);
    const Shot shot = capture();
    savePng(g_box.png, shot);
    expectColour(shot, clientPoint(box, 3, 3), colourOf(*g_box.skin, Role::WindowBack), "message box background");
    HWND ok = GetDlgItem(box, IDOK);
    check(ok != nullptr, "message box has its OK button");
    if (!ok) {
        EndDialog(box, IDCANCEL);
        return;
    }
    expectColour(shot, buttonFacePoint(ok), buttonFaceAt(*g_box.skin, ok, Role::ButtonFaceTop, Role::ButtonFaceBottom),
                 "message box button face", 2);
    SendMessageW(ok, BM_CLICK, 0, 0);
}

void checkMessageBox(const Skin& skin, const std::wstring& png) {
    g_box = {&skin, png, false};
    SetTimer(nullptr, 0, 200, boxTimer);
    const int answer = MessageBoxW(nullptr, L"已复制，可以通过QQ等发送给好友了！", L"提示", MB_OK | MB_TASKMODAL);
    check(g_box.seen && answer == IDOK, "message box closed by its skinned OK button");
}

Skin vividSkin() {
    Skin skin;
    const COLORREF colours[] = {
        RGB(20, 60, 20),   RGB(250, 250, 0),  RGB(0, 70, 140),   RGB(255, 220, 0),  RGB(120, 0, 0),   RGB(255, 255, 255),
        RGB(255, 0, 255),  RGB(0, 255, 0),    RGB(255, 120, 0),  RGB(120, 40, 0),   RGB(0, 200, 255), RGB(0, 60, 160),
        RGB(40, 40, 40),   RGB(90, 90, 90),   RGB(255, 255, 255), RGB(128, 128, 128), RGB(0, 0, 0),   RGB(255, 0, 0),
        RGB(255, 240, 200), RGB(0, 0, 200),   RGB(200, 255, 200), RGB(200, 0, 200),
    };
    for (std::size_t i = 0; i < morvane::skin::kRoleCount; ++i)
        skin.colours[i] = {GetRValue(colours[i]), GetGValue(colours[i]), GetBValue(colours[i])};
    skin.setName("Vivid");
    skin.cornerRadius = 0;
    return skin;
}

std::wstring argument(int index) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring value = index < count ? args[index] : L"";
    LocalFree(args);
    return value;
}

void writeResult(const std::wstring& path) {
    std::string text;
    for (const auto& line : g_log) text += line + "\n";
    text += g_failures == 0 ? "PASS\n" : "FAIL\n";
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

int run(const std::wstring& dllPath, const std::wstring& skinPath, const std::wstring& outDir) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    // Plain pixels: the checks look for exact text colours.
    gui.lfQuality = NONANTIALIASED_QUALITY;
    g_guiFont = CreateFontIndirectW(&gui);
    g_bigFont = CreateFontW(-19, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, nullptr);
    g_boldFont = CreateFontW(-19, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, nullptr);
    g_yellowBrush = CreateSolidBrush(kYellow);
    registerClass(L"SkinHostMain", mainProc);
    registerClass(L"SkinHostPink", pinkProc);
    registerClass(L"SkinHostLater", laterProc);
    registerClass(L"SkinHostPrintedLabel", printedLabelProc);

    createMain();
    createPink();
    ShowWindow(g_main.window, SW_SHOW);
    ShowWindow(g_pink.window, SW_SHOWNOACTIVATE);
    SetCursorPos(1270, 1010);
    SetForegroundWindow(g_main.window);
    SetFocus(g_main.edit1);
    repaintAll();

    const COLORREF btnFace = GetSysColor(COLOR_BTNFACE);
    const COLORREF readOnlyBefore = colourAt(capture(), clientPoint(g_main.edit2, 400, 150));
    expectColour(capture(), mainBackgroundPoint(), btnFace, "before the skin: system background");

    const HMODULE library = LoadLibraryW(dllPath.c_str());
    check(library != nullptr, "SkinH_EL.dll loads");
    const auto attach = library ? reinterpret_cast<AttachRes>(reinterpret_cast<void*>(GetProcAddress(library, "SkinH_AttachRes"))) : nullptr;
    check(attach != nullptr, "SkinH_AttachRes is exported by that name");
    const std::vector<unsigned char> skin9 = readFile(skinPath);
    const auto parsed = morvane::skin::parseSkin(skin9.data(), skin9.size());
    check(skin9.size() == 13192 && parsed.ok(), "skin 9 is there and valid");
    if (!attach || !parsed.ok()) return 1;
    const Skin& skin = parsed.skin;
    const int size = static_cast<int>(skin9.size());

    // Nothing and damaged data change nothing.
    check(attach(nullptr, 0, "", 0, 0, 0) == 0, "null address, count 0");
    check(attach(nullptr, size, "", 0, 0, 0) == 0, "null address");
    check(attachCopy(attach, skin9, 0) == 0, "count 0");
    check(attachCopy(attach, skin9, -1) == 0, "negative count");
    check(attachCopy(attach, skin9, size - 1) == 0, "one byte short");
    check(attachCopy(attach, skin9, 3) == 0, "only part of the mark");
    std::vector<unsigned char> damaged = skin9;
    damaged[0] = 'X';
    check(attachCopy(attach, damaged, size) == 0, "wrong mark");
    damaged = skin9;
    damaged[40] ^= 0x10;
    check(attachCopy(attach, damaged, size) == 0, "flipped palette bit");
    damaged = skin9;
    damaged[4] = 2;
    check(attachCopy(attach, damaged, size) == 0, "unknown version");
    repaintAll();
    expectColour(capture(), mainBackgroundPoint(), btnFace, "after refused calls: still the system background");

    // The real call, as the program makes it.
    check(attachCopy(attach, skin9, size) == 1, "skin 9 accepted");
    createLater();
    ShowWindow(g_later.window, SW_SHOWNOACTIVATE);
    pump(600);
    {
        const Shot shot = capture();
        savePng(outDir + L"\\skin9.png", shot);
        checkSkinned(shot, skin, "skin 9");
        check(readOnlyBefore != colourOf(skin, Role::EditReadOnlyBack),
              "the read-only box changed from " + hex(readOnlyBefore) + " (the check above means something)");
    }
    checkBehaviour(skin);
    checkMessageBox(skin, outDir + L"\\messagebox.png");

    // A second skin replaces the first everywhere.
    const Skin vivid = vividSkin();
    const auto vividBytes = morvane::skin::serializeSkin(vivid, 4000);
    check(attachCopy(attach, {vividBytes.begin(), vividBytes.end()}, static_cast<int>(vividBytes.size())) == 1,
          "second skin accepted");
    pump(600);
    {
        const Shot shot = capture();
        savePng(outDir + L"\\vivid.png", shot);
        checkSkinned(shot, vivid, "vivid");
        check(countColour(shot, g_main.edit1, colourOf(vivid, Role::EditText)) > 0, "vivid edit text colour");
    }
    check(attachCopy(attach, skin9, size - 100) == 0, "damaged data while a skin is in use");
    repaintAll();
    expectColour(capture(), pagePoint(), colourOf(vivid, Role::PageBack), "the skin in use stays");

    for (HWND w : {g_later.window, g_pink.window, g_main.window}) DestroyWindow(w);
    pump(100);
    return 0;
}

}  // namespace

int main() {
    const std::wstring outDir = argument(3);
    try {
        run(argument(1), argument(2), outDir);
    } catch (const morvane::gui::Failure& failure) {
        check(false, failure.what());
    }
    writeResult(outDir + L"\\result.txt");
    std::printf("%s\n", g_failures == 0 ? "PASS" : "FAIL");
    return g_failures == 0 ? 0 : 1;
}
