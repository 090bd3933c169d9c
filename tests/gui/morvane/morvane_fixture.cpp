#include "morvane_fixture.h"

#include <commctrl.h>

namespace morvane::gui {

std::string gbk(std::wstring_view text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void MorvaneTest::SetUp() { start(); }

void MorvaneTest::start(const std::wstring& workingDirectory) {
    program_.reset();
    program_ = std::make_unique<Program>(programPath(), L"", workingDirectory);
    main_ = program_->waitForWindow(kMainWindowClass);
}

void MorvaneTest::typeInto(MainControl box, std::wstring_view text) {
    HWND edit = control(box);
    focus(edit);
    // Select everything with the keyboard (Ctrl+A is one of the program's
    // shortcuts), then type over it.
    pressKey(edit, VK_END, kCtrl);
    pressKey(edit, VK_HOME, kCtrl | kShift);
    pressKey(edit, VK_DELETE);
    waitForText(edit, L"");
    if (text.empty()) return;
    typeText(edit, text);
    // Typed keys arrive through the display one by one: wait for them all.
    // An Enter shows as CR LF in the box.
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        if (text[i] == L'\n' || text[i] == L'\r') shown += L"\r\n";
        else shown += text[i];
    }
    waitForText(edit, shown);
}

int MorvaneTest::currentPage() const {
    return static_cast<int>(SendMessageW(control(MainControl::选择夹1), TCM_GETCURSEL, 0, 0));
}

void MorvaneTest::showPage(int page) {
    if (currentPage() == page) return;
    // The tabs lie along the top of the tab control; the first one is about
    // 85 pixels wide in the default GUI font.
    const RECT tab = clientRect(control(MainControl::选择夹1));
    const POINT at{tab.left + (page == 0 ? 40 : 125), tab.top + 10};
    activate(main_);
    moveTo(at);
    mouseDown(at);
    mouseUp(at);
    waitUntil([&] { return currentPage() == page; }, "the tab page to change");
    const HWND onPage = control(page == 0 ? MainControl::编辑框1 : MainControl::编辑框4);
    waitUntil([&] { return isVisible(onPage); }, "the page's controls to show");
}

}  // namespace morvane::gui
