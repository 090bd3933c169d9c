// A small window that exercises everything the GUI harness can drive: typed
// text, buttons, a task-modal error box, an owned question box, the clipboard
// in both text formats, a menu with accelerators, the save dialog, and a pad
// that reports where the mouse went.  The harness's own tests drive it.
#include "selftest_ids.h"

#include <commdlg.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

HINSTANCE instance;
HWND mainWindow;
HWND savedFocus;
int exitCode = 0;

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string toGbk(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void setStatus(const std::wstring& text) {
    SetDlgItemTextW(mainWindow, selftest::kStatus, text.c_str());
}

HGLOBAL globalCopy(const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

// Both formats on purpose, with exactly the bytes a reader should find: the
// GBK bytes plus one zero, and the UTF-16 text plus one zero.
void copyLine() {
    const std::wstring wide = textOf(GetDlgItem(mainWindow, selftest::kLine));
    const std::string gbk = toGbk(wide);
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, globalCopy(gbk.c_str(), gbk.size() + 1));
    SetClipboardData(CF_UNICODETEXT, globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    CloseClipboard();
    setStatus(L"已复制");
}

void saveAs() {
    wchar_t path[MAX_PATH] = L"建议名称.txt";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = L"文本文件 (*.txt)\0*.txt\0所有文件\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"txt";
    // Without a folder of its own the dialog opens in the folder last used
    // by this program (an MRU list in the registry), not the current one.
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    dialog.lpstrInitialDir = folder;
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) {
        setStatus(L"已取消");
        return;
    }
    const std::string content = toGbk(textOf(GetDlgItem(mainWindow, selftest::kNotes)));
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    const DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    SetDlgItemTextW(mainWindow, selftest::kLine, path);
    setStatus(ok ? L"已保存" : L"写入失败 " + std::to_wstring(error));
}

void command(int id) {
    switch (id) {
    case selftest::kShowError: {
        const int answer = MessageBoxW(nullptr, L"出了点问题\r\n请重试", L"出错啦", MB_OK | MB_ICONERROR | MB_TASKMODAL);
        setStatus(L"错误框返回 " + std::to_wstring(answer));
        break;
    }
    case selftest::kAsk: {
        const int answer = MessageBoxW(mainWindow, L"继续吗？", L"请确认", MB_YESNO | MB_ICONQUESTION);
        setStatus(answer == IDYES ? L"是" : L"否");
        break;
    }
    case selftest::kShowPlain:
        MessageBoxW(nullptr, L"没有图标", L"提示", MB_OK | MB_TASKMODAL);
        setStatus(L"提示已关闭");
        break;
    case selftest::kCopy:
    case selftest::kMenuCopy:
        copyLine();
        break;
    case selftest::kSave:
    case selftest::kMenuSave:
        saveAs();
        break;
    case selftest::kMenuExit:
        exitCode = selftest::kExitCodeF12;
        DestroyWindow(mainWindow);
        break;
    case selftest::kMenuClose:
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        break;
    }
}

// The pad tells where each mouse button went, in its own client coordinates,
// so a test can check that a click lands exactly where it was aimed.
LRESULT CALLBACK padProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto report = [&](const wchar_t* what) {
        setStatus(std::wstring(what) + L" " + std::to_wstring(static_cast<short>(LOWORD(lParam))) + L"," +
                  std::to_wstring(static_cast<short>(HIWORD(lParam))));
    };
    switch (message) {
    case WM_LBUTTONDOWN: report(L"down"); return 0;
    case WM_LBUTTONUP: report(L"up"); return 0;
    case WM_RBUTTONUP: {
        report(L"right");
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, selftest::kMenuCopy, L"复制\tCtrl+Shift+C");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_GRAYED, selftest::kMenuSave, L"保存(&S)\tCtrl+S");
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &at);
        const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, mainWindow, nullptr);
        DestroyMenu(menu);
        if (chosen) command(chosen);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(selftest::kPadColour);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND addControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h,
                DWORD exStyle = 0) {
    HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, mainWindow,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void createControls() {
    addControl(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, selftest::kLine, 10, 10, 400, 24, WS_EX_CLIENTEDGE);
    addControl(L"BUTTON", L"出错", WS_TABSTOP | BS_PUSHBUTTON, selftest::kShowError, 420, 10, 80, 24);
    addControl(L"BUTTON", L"问题", WS_TABSTOP | BS_PUSHBUTTON, selftest::kAsk, 510, 10, 80, 24);
    HWND notes = addControl(L"EDIT", L"", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL,
                            selftest::kNotes, 10, 44, 400, 150, WS_EX_CLIENTEDGE);
    static HFONT big = CreateFontW(-19, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"");
    SendMessageW(notes, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    addControl(L"BUTTON", L"复制", WS_TABSTOP | BS_PUSHBUTTON, selftest::kCopy, 420, 44, 80, 24);
    addControl(L"BUTTON", L"保存", WS_TABSTOP | BS_PUSHBUTTON, selftest::kSave, 420, 78, 80, 24);
    addControl(L"BUTTON", L"提示", WS_TABSTOP | BS_PUSHBUTTON, selftest::kShowPlain, 510, 44, 80, 24);
    addControl(L"STATIC", L"", SS_LEFT, selftest::kStatus, 10, 204, 580, 20);
    addControl(L"SelfTestPad", L"", 0, selftest::kPad, 10, 234, 200, 100);
}

HMENU createMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, selftest::kMenuSave, L"保存(&S)\tCtrl+S");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, selftest::kMenuExit, L"退出\tF12");
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, selftest::kMenuCopy, L"复制\tCtrl+Shift+C");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"编辑");
    return bar;
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        // Like a dialog: the focus comes back to where it was, e.g. after a message box.
        if (LOWORD(wParam) == WA_INACTIVE) {
            savedFocus = GetFocus();
        } else {
            SetFocus(savedFocus && IsChild(window, savedFocus) ? savedFocus : GetDlgItem(window, selftest::kLine));
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(exitCode);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR commandLine, int) {
    instance = hInstance;
    // "--exit-code=N" ends at once with N: lets a test check exit codes without a window.
    if (const wchar_t* option = std::wcsstr(commandLine, L"--exit-code=")) return _wtoi(option + 12);
    // "--crash": a program that crashes must not leave a dialog behind.
    if (std::wcsstr(commandLine, L"--crash")) *static_cast<volatile int*>(nullptr) = 1;

    WNDCLASSEXW padClass{};
    padClass.cbSize = sizeof padClass;
    padClass.lpfnWndProc = padProc;
    padClass.hInstance = instance;
    padClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    padClass.lpszClassName = L"SelfTestPad";
    RegisterClassExW(&padClass);

    WNDCLASSEXW mainClass{};
    mainClass.cbSize = sizeof mainClass;
    mainClass.lpfnWndProc = mainProc;
    mainClass.hInstance = instance;
    mainClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    mainClass.lpszClassName = selftest::kWindowClass;
    RegisterClassExW(&mainClass);

    const int width = 620, height = 400;
    mainWindow = CreateWindowExW(0, selftest::kWindowClass, selftest::kTitle,
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                 width, height, nullptr, createMenu(), instance, nullptr);
    createControls();

    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'S', selftest::kMenuSave},
        {FVIRTKEY | FCONTROL | FSHIFT, 'C', selftest::kMenuCopy},
        {FVIRTKEY, VK_F12, selftest::kMenuExit},
        {FVIRTKEY, VK_ESCAPE, selftest::kMenuClose},
    };
    HACCEL accelerators = CreateAcceleratorTableW(keys, sizeof keys / sizeof keys[0]);

    ShowWindow(mainWindow, SW_SHOW);
    SetFocus(GetDlgItem(mainWindow, selftest::kLine));

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(mainWindow, accelerators, &msg)) continue;
        if (IsDialogMessageW(mainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
