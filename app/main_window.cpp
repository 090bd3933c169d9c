#include "app/main_window.h"

#include <commctrl.h>

#include "app/menus.h"
#include "app/program.h"
#include "app/ui_helpers.h"
#include "convert/auto_converter.h"
#include "convert/manual_converter.h"
#include "services/skin_install.h"
#include "services/startup_services.h"
#include "files/byte_data.h"
#include "files/import_decoding.h"
#include "files/win32/file_dialog.h"
#include "files/win32/whole_file.h"
#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/geometry.h"
#include "win32/labels.h"
#include "win32/tab_pages.h"
#include "win32/text.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

namespace morvane {

namespace {

constexpr wchar_t kClassName[] = L"MorvaneMainWindow";

HFONT createBigFont(int weight) {
    // Height 19, GB2312, no face name: the system's face for that character set.
    return CreateFontW(-win32::scaled(19), 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"");
}

int pageOf(Place place) { return place == Place::page1 ? 0 : place == Place::page2 ? 1 : -1; }

}  // namespace

MainWindow::~MainWindow() {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (bigFont_) DeleteObject(bigFont_);
    if (bigBoldFont_) DeleteObject(bigBoldFont_);
    if (white_) DeleteObject(white_);
}

bool MainWindow::create() {
    registerClass(kClassName, LoadIconW(GetModuleHandleW(nullptr), L"MORVANE"),
                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    menuBar_ = buildMenuBar();
    accelerators_ = buildAccelerators();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const win32::ControlRect at = win32::centredWindow(kMainWindowWidth, kMainWindowHeight);
    return BaseWindow::create(kClassName, style, 0, at.x, at.y, at.width, at.height, nullptr, menuBar_);
}

void MainWindow::showCentred() {
    const win32::ControlRect at = win32::centredWindow(kMainWindowWidth, kMainWindowHeight);
    SetWindowPos(hwnd(), nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
}

HWND MainWindow::control(MainControl id) const {
    for (const auto& c : controls_)
        if (c.row->id == id) return c.hwnd;
    return nullptr;
}

GbkText MainWindow::text(MainControl id) const { return win32::windowText(control(id)); }

void MainWindow::setText(MainControl id, const GbkText& text) const { win32::setWindowText(control(id), text); }

void MainWindow::createControls() {
    bigFont_ = createBigFont(FW_NORMAL);
    bigBoldFont_ = createBigFont(FW_BOLD);
    white_ = CreateSolidBrush(RGB(255, 255, 255));
    HWND tab = nullptr;
    for (const ControlRow& row : mainWindowControls()) {
        HWND hwnd = createControl(row, tab);
        if (row.kind == ControlKind::tabControl) tab = hwnd;
        controls_.push_back({hwnd, &row});
    }
    pages_.showCurrent(tab);  // page 1 at start
}

HWND MainWindow::createControl(const ControlRow& row, HWND tab) {
    const HWND parent = row.place == Place::window ? hwnd() : tab;
    const DWORD visible = (row.traits & kNeverShown) ? 0 : WS_VISIBLE;
    const auto id = static_cast<int>(row.id);
    const win32::ControlRect rect = win32::scaled({row.x, row.y, row.width, row.height});
    const HMENU menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT guiFont = win32::defaultGuiFont();
    HWND hwnd = nullptr;

    switch (row.kind) {
    case ControlKind::tabControl:
        return win32::createTabControl(parent, this->hwnd(), id, rect, {"手动曲谱转换", "自动曲谱转换"});
    case ControlKind::transparentLabel:
        hwnd = win32::createTransparentLabel(parent, id, rect, row.text, RGB(0, 0, 0),
                                             win32::LabelLayout::singleLineCentred);
        win32::Window(hwnd).setFont(guiFont);
        break;
    case ControlKind::label:
        hwnd = win32::createPlainLabel(parent, id, rect, row.text, SS_CENTERIMAGE);
        win32::Window(hwnd).setFont(guiFont);
        break;
    case ControlKind::edit: {
        DWORD style = WS_CHILD | WS_TABSTOP | visible;
        DWORD exStyle = 0;
        if (row.traits & kMultiLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
        else style |= ES_AUTOHSCROLL;
        if (row.traits & kReadOnly) style |= ES_READONLY;
        if (row.traits & kSingleBorder) style |= WS_BORDER;
        if (row.traits & kSunkenBorder) exStyle |= WS_EX_CLIENTEDGE;
        hwnd = CreateWindowExW(exStyle, L"EDIT", L"", style, rect.x, rect.y, rect.width, rect.height, parent,
                               menuId, instance, nullptr);
        win32::Edit(hwnd).setUnlimited();
        const HFONT font = !(row.traits & kBigFont) ? guiFont : (row.traits & kBold) ? bigBoldFont_ : bigFont_;
        win32::Window(hwnd).setFont(font);
        break;
    }
    case ControlKind::button:
        hwnd = CreateWindowExW(0, L"BUTTON", win32::toWide(row.text).c_str(),
                               WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | visible, rect.x, rect.y, rect.width,
                               rect.height, parent, menuId, instance, nullptr);
        win32::Window(hwnd).setFont(guiFont);
        break;
    }
    // Controls placed on the window stand in front of the tab control.
    if (row.place == Place::window) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    else pages_.add(tab, pageOf(row.place), hwnd, row.traits & kNeverShown);
    return hwnd;
}

void MainWindow::onCreated() {
    win32::setWindowText(hwnd(), kMainWindowTitle);
    setText(MainControl::标签1, programVersion);
    checkForUpdate();  // ends the program when a newer version exists
    applySkin(kSkinInUse);
}

bool MainWindow::preTranslate(MSG& msg) {
    if (!hwnd()) return false;
    // Shortcuts act before the focused control sees the key.
    if (accelerators_ && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd)) &&
        TranslateAcceleratorW(hwnd(), accelerators_, &msg))
        return true;
    // The save buttons open their pop-up menu as the left button is released
    // over them, before the button itself handles the release.
    if (msg.message == WM_LBUTTONUP) {
        const POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        RECT client;
        GetClientRect(msg.hwnd, &client);
        if (PtInRect(&client, at)) {
            if (msg.hwnd == control(MainControl::按钮2)) showSavePopup(kManualSaveMenu);
            else if (msg.hwnd == control(MainControl::按钮3)) showSavePopup(kAutoSaveMenu);
        }
    }
    return false;
}

void MainWindow::showSavePopup(const char* title) {
    HMENU popup = buildPopupMenu(title);
    if (!popup) return;
    POINT cursor;
    GetCursorPos(&cursor);
    const auto chosen = static_cast<unsigned>(
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                       cursor.x + win32::scaled(3), cursor.y + win32::scaled(3), 0, hwnd(), nullptr));
    DestroyMenu(popup);
    if (chosen != 0) runCommand(static_cast<Command>(chosen));
}

void MainWindow::onButtonClicked(MainControl id) {
    switch (id) {
    case MainControl::按钮1:
        convertManualScore();
        break;
    case MainControl::按钮4:
        convertAutoScore();
        break;
    case MainControl::按钮3:
        saveScore(ScoreSaveCommand::autoScore);
        break;
    case MainControl::按钮5:
        importScore(MainControl::编辑框1);
        break;
    case MainControl::按钮6:
        importScore(MainControl::编辑框4);
        break;
    default:
        // 按钮2 does nothing on a click: its menu opens on the release.
        break;
    }
}

void MainWindow::runCommand(Command command) {
    switch (command) {
    case Command::exitProgram:
        endProgram(0);
    case Command::openHelp:
        HelpWindow::open();
        break;
    case Command::openAbout:
        AboutWindow::showModal(hwnd());
        break;
    case Command::saveManualNumberedScore:
        saveScore(ScoreSaveCommand::manualNumberedScore);
        break;
    case Command::saveManualScore:
        saveScore(ScoreSaveCommand::manualScore);
        break;
    case Command::saveAutoNumberedScore:
        saveScore(ScoreSaveCommand::autoNumberedScore);
        break;
    case Command::saveAutoScore:
        saveScore(ScoreSaveCommand::autoScore);
        break;
    case Command::importManualNumberedScore:
        importScore(MainControl::编辑框1);
        break;
    case Command::importAutoNumberedScore:
        importScore(MainControl::编辑框4);
        break;
    }
}

void MainWindow::convertManualScore() {
    GbkText& score = sharedTexts().lastManualScore;
    score = text(MainControl::编辑框1);
    score = ManualConverter::convert(score);
    setText(MainControl::编辑框2, score);
    setClipboardText(score);
    showMessage("已复制，可以通过QQ等发送给好友了！", MessageIcon::none, "提示");
}

void MainWindow::convertAutoScore() {
    GbkText& score = sharedTexts().lastAutoScore;
    score = text(MainControl::编辑框4);
    score = AutoConverter::convert(score);
    setText(MainControl::编辑框5, score);
}

HWND MainWindow::box(ScoreBox which) const {
    static constexpr MainControl boxes[] = {MainControl::编辑框1, MainControl::编辑框2, MainControl::编辑框3,
                                            MainControl::编辑框4, MainControl::编辑框5, MainControl::编辑框6,
                                            MainControl::编辑框7};
    return control(boxes[static_cast<int>(which) - 1]);
}

void MainWindow::saveScore(ScoreSaveCommand which) {
    const ScoreSaveCommandInfo& command = scoreSaveCommand(which);
    SharedScoreTexts& shared = sharedTexts();
    const bool autoScore = which == ScoreSaveCommand::autoScore;
    if (autoScore) {
        // The auto score as the box shows it now, hand edits included.
        win32::setWindowText(box(ScoreBox::box6), win32::windowText(box(ScoreBox::box5)));
        shared.autoSaveText = win32::windowText(box(ScoreBox::box6));
    }
    const GbkText name = win32::windowText(box(command.nameBox));
    GbkText body;
    switch (command.body) {
    case ScoreBodySource::box1: body = win32::windowText(box(ScoreBox::box1)); break;
    case ScoreBodySource::lastManualScore: body = shared.lastManualScore; break;
    case ScoreBodySource::box4: body = win32::windowText(box(ScoreBox::box4)); break;
    case ScoreBodySource::autoSaveText: body = shared.autoSaveText; break;
    }
    GbkText fileText = composeScoreFile(command.form, name, body);
    if (which == ScoreSaveCommand::manualScore) shared.manualSaveText = fileText;

    通用对话框1.kind = FileDialogKind::save;
    通用对话框1.fileName = proposedFileName(command.namePrefix, name);
    // A refusal leaves every box as it was, so no typed score is lost.
    if (isEmptyText(win32::windowText(box(command.testedBox)))) {
        showMessage(command.emptyMessage, MessageIcon::error, command.emptyTitle);
        return;
    }
    if (isEmptyText(name)) {
        showMessage(kNoScoreNameMessage, MessageIcon::error, kNoScoreNameTitle);
        return;
    }
    if (!win32::runFileDialog(通用对话框1, hwnd())) return;

    const bool written = win32::writeWholeFile(通用对话框1.fileName, {textToBytes(fileText)});
    if (autoScore) setClipboardText(shared.autoSaveText);
    if (!written) {
        // Reported, and the boxes stay, so the user can save elsewhere.
        showMessage(concatTexts("保存失败，文件没有写入：", 通用对话框1.fileName), MessageIcon::error, "出错啦");
        return;
    }
    if (autoScore) showMessage(kAutoScoreCopiedMessage, MessageIcon::none);
    for (ScoreBox cleared : command.clearedBoxes) win32::setWindowText(box(cleared), "");
}

void MainWindow::importScore(MainControl target) {
    if (!win32::runFileDialog(通用对话框2, hwnd())) return;
    setText(target, decodeImportedFile(win32::readWholeFile(通用对话框2.fileName)));
}

LRESULT MainWindow::controlColours(HDC dc, HWND control) {
    const auto id = static_cast<MainControl>(GetDlgCtrlID(control));
    for (const auto& c : controls_) {
        if (c.hwnd != control) continue;
        if (c.row->kind == ControlKind::edit && (c.row->traits & kBigFont)) {
            // Black on white, the read-only result box too.
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(white_);
        }
        if (id == MainControl::标签1) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    return -1;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        windowOpened(hwnd());
        createControls();
        onCreated();
        return 0;
    case WM_COMMAND: {
        const auto id = LOWORD(wParam);
        const auto code = HIWORD(wParam);
        if (lParam == 0) {  // menu item or shortcut
            runCommand(static_cast<Command>(id));
        } else if (code == BN_CLICKED) {
            onButtonClicked(static_cast<MainControl>(id));
        }
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE && pages_.has(header->hwndFrom)) pages_.showCurrent(header->hwndFrom);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        const LRESULT brush = controlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        if (brush != -1) return brush;
        break;
    }
    case WM_ACTIVATE:
        // Typing works at once: at first in the score box.
        focus_.onActivate(hwnd(), wParam, control(MainControl::编辑框1));
        return 0;
    case WM_NCDESTROY:
        windowClosed(hwnd());
        return 0;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace morvane
