// Message boxes and the common file dialogs of another process.
#include "harness/internal.h"

#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace morvane::gui {

namespace {

constexpr int kMessageTextId = 0xFFFF;

// The edit that holds the file name: edt1 in the old-style dialog; in the
// Explorer-style one the edit inside cmb13 (a ComboBoxEx32 under Wine 8,
// whose combo box and edit carry the same id).
HWND fileNameField(HWND dialog) {
    for (HWND child : descendants(dialog)) {
        const int id = controlId(child);
        if ((id == edt1 || id == cmb13) && classOf(child) == L"Edit") return child;
    }
    return nullptr;
}

bool isFileDialog(HWND window) {
    return fileNameField(window) != nullptr;
}

HWND iconStaticOf(HWND box) {
    for (HWND child : descendants(box)) {
        if (classOf(child) == L"Static" && (styleOf(child) & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

// A dialog of the program's own may have statics with id 0xFFFF (IDC_STATIC)
// too; a message box also has its icon static, shown or not.
bool isMessageBox(HWND window) {
    HWND text = tryFindControl(window, kMessageTextId);
    return text && classOf(text) == L"Static" && iconStaticOf(window) && !isFileDialog(window);
}

// Of several (a prompt in front of its owner), the one that takes input.
HWND frontmost(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
        if (IsWindowEnabled(window)) return window;
    }
    return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> messageBoxesOf(DWORD pid) {
    std::vector<HWND> boxes;
    for (HWND window : topWindowsOf(pid, L"#32770")) {
        if (isMessageBox(window)) boxes.push_back(window);
    }
    return boxes;
}

std::vector<HWND> fileDialogsOf(DWORD pid) {
    std::vector<HWND> dialogs;
    for (HWND window : topWindowsOf(pid, L"#32770")) {
        if (isFileDialog(window)) dialogs.push_back(window);
    }
    return dialogs;
}

// ---- Which icon a message box shows -----------------------------------------
//
// The icon's handle belongs to the program, and Wine keeps icon images in the
// process that made them: from here neither GetIconInfo nor DrawIconEx works
// on it, and the program's LoadIcon(IDI_ERROR) is a different handle from
// ours.  So the icon is recognised by its pixels: each stock icon is drawn
// here at the static's size, the way the static draws it, and compared with
// what the screen shows, pixel by pixel where the icon is opaque.

struct Candidate {
    WORD resource;  // IDI_* as a number: the macros are pointer casts
    Icon icon;
};
const Candidate kStockIcons[] = {
    {32513, Icon::Error},        // IDI_HAND, IDI_ERROR
    {32515, Icon::Warning},      // IDI_EXCLAMATION, IDI_WARNING
    {32514, Icon::Question},     // IDI_QUESTION
    {32516, Icon::Information},  // IDI_ASTERISK, IDI_INFORMATION
};

Image render(HICON icon, int width, int height, COLORREF background) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = source[i] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

bool close(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 24) return false;
    }
    return true;
}

// The share of the icon's opaque pixels that the screen shows alike.
double likeness(const Image& shown, HICON icon) {
    const Image onBlack = render(icon, shown.width, shown.height, RGB(0, 0, 0));
    const Image onWhite = render(icon, shown.width, shown.height, RGB(255, 255, 255));
    std::size_t opaque = 0, alike = 0;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
        if (onBlack.pixels[i] != onWhite.pixels[i]) continue;
        ++opaque;
        if (close(onBlack.pixels[i], shown.pixels[i])) ++alike;
    }
    return opaque ? static_cast<double>(alike) / static_cast<double>(opaque) : 0.0;
}

Icon iconOf(HWND box, Where where) {
    HWND iconStatic = iconStaticOf(box);
    if (!iconStatic || !isVisible(iconStatic)) return Icon::None;
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle);
    if (!handle) return Icon::None;
    // Until the box has painted, the screen shows something else: look again
    // for a while before calling the icon unknown.
    Icon found = Icon::Other;
    eventually(
        [&] {
            const Image shown = captureRect(clientRect(iconStatic), where);
            for (const Candidate& candidate : kStockIcons) {
                if (likeness(shown, LoadIconW(nullptr, MAKEINTRESOURCEW(candidate.resource))) > 0.9) {
                    found = candidate.icon;
                    return true;
                }
            }
            return false;
        },
        2s);
    return found;
}

MessageDialog read(HWND box, Where where) {
    MessageDialog dialog;
    dialog.window = box;
    dialog.title = textOf(box, where);
    dialog.text = textOf(findControl(box, kMessageTextId, where), where);
    dialog.owner = ownerOf(box);
    std::vector<std::pair<LONG, MessageDialog::Choice>> buttons;
    for (HWND child : descendants(box)) {
        const int id = controlId(child);
        if (classOf(child) == L"Button" && isVisible(child) && id >= IDOK && id <= IDCONTINUE) {
            buttons.push_back({windowRect(child).left, {id, textOf(child, where)}});
        }
    }
    std::sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [left, choice] : buttons) dialog.buttons.push_back(std::move(choice));
    dialog.icon = iconOf(box, where);
    return dialog;
}

}  // namespace

const char* nameOf(Icon icon) {
    switch (icon) {
    case Icon::None: return "none";
    case Icon::Error: return "error";
    case Icon::Warning: return "warning";
    case Icon::Question: return "question";
    case Icon::Information: return "information";
    case Icon::Other: return "other";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, Icon icon) {
    return out << nameOf(icon);
}

void MessageDialog::clickButton(int id, Where where) const {
    click(findControl(window, id, where), where);
}

void MessageDialog::pressEnter(Where where) const {
    pressKey(window, VK_RETURN, kNoModifier, where);
}

void MessageDialog::post(int id) const {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

MessageDialog waitForMessageBox(DWORD pid, Duration timeout, Where where) {
    HWND box = nullptr;
    const bool ok = eventually(
        [&] {
            box = frontmost(messageBoxesOf(pid));
            return box != nullptr;
        },
        timeout);
    if (!ok) fail("timed out after " + std::to_string(timeout.count()) + " ms waiting for a message box", where);
    return read(box, where);
}

void waitForNoMessageBox(DWORD pid, Duration timeout, Where where) {
    std::string open;
    const bool ok = eventually(
        [&] {
            const auto boxes = messageBoxesOf(pid);
            if (!boxes.empty()) open = describe(boxes.front());
            return boxes.empty();
        },
        timeout);
    if (!ok) fail("a message box is still open after " + std::to_string(timeout.count()) + " ms: " + open, where);
}

// ---- File dialogs ------------------------------------------------------------

std::wstring FileDialog::fileName(Where where) const {
    return textOf(nameField, where);
}

void FileDialog::typeFileName(std::wstring_view name, Where where) const {
    // The click puts the focus there; the keys wait until it is.
    click(nameField, where);
    pressKey(nameField, VK_HOME, kNoModifier, where);
    pressKey(nameField, VK_END, kShift, where);
    typeText(nameField, name, where);
    waitForText(nameField, name, kTimeout, where);
}

void FileDialog::accept(Where where) const {
    click(findControl(window, IDOK, where), where);
}

void FileDialog::cancel(Where where) const {
    click(findControl(window, IDCANCEL, where), where);
}

FileDialog waitForFileDialog(DWORD pid, Duration timeout, Where where) {
    HWND window = nullptr;
    const bool ok = eventually(
        [&] {
            window = frontmost(fileDialogsOf(pid));
            return window != nullptr;
        },
        timeout);
    if (!ok) fail("timed out after " + std::to_string(timeout.count()) + " ms waiting for a file dialog", where);
    FileDialog dialog;
    dialog.window = window;
    dialog.nameField = fileNameField(window);
    dialog.title = textOf(window, where);
    return dialog;
}

void waitForNoFileDialog(DWORD pid, Duration timeout, Where where) {
    waitUntil([&] { return fileDialogsOf(pid).empty(); }, "the file dialog to close", timeout, where);
}

}  // namespace morvane::gui
