// Asking the probe DLL inside the program (see probe.h): menus, fonts, focus.
#include "harness/internal.h"
#include "harness/probe.h"

#include <cwchar>

namespace morvane::gui {

namespace {

std::vector<std::wstring> split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::wstring_view::npos; start = end + 1) {
        parts.emplace_back(text.substr(start, end - start));
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

long number(const std::wstring& text) {
    return std::wcstol(text.c_str(), nullptr, 10);
}

class SharedAnswer {
public:
    SharedAnswer(DWORD pid, Where where) {
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(probe::Answer),
                                      probe::answerName(pid).c_str());
        if (!mapping_) detail::failWithLastError("cannot share memory with the probe", where);
        answer_ = static_cast<probe::Answer*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(probe::Answer)));
        if (!answer_) detail::failWithLastError("cannot map the probe's answer", where);
        answer_->done = 0;
        answer_->ok = 0;
        answer_->text[0] = L'\0';
    }
    ~SharedAnswer() {
        if (answer_) UnmapViewOfFile(answer_);
        if (mapping_) CloseHandle(mapping_);
    }
    SharedAnswer(const SharedAnswer&) = delete;
    SharedAnswer& operator=(const SharedAnswer&) = delete;
    const probe::Answer& operator*() const { return *answer_; }

private:
    HANDLE mapping_ = nullptr;
    probe::Answer* answer_ = nullptr;
};

// Runs a request inside the program, on the GUI thread of `window`.
std::wstring ask(HWND window, probe::Request request, Where where) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    if (!thread) fail("asking about a window that does not exist", where);
    const std::wstring& dllPath = detail::settings().probe;
    if (dllPath.empty()) fail("no probe DLL given (--morvane-probe)", where);
    HMODULE dll = LoadLibraryW(dllPath.c_str());
    if (!dll) detail::failWithLastError("cannot load the probe " + utf8(dllPath), where);
    auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, probe::kHookName)));
    if (!hookProc) fail("the probe DLL has no " + std::string(probe::kHookName), where);

    SharedAnswer answer(pid, where);
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hookProc, dll, thread);
    if (!hook) detail::failWithLastError("cannot hook the program's GUI thread", where);
    DWORD_PTR ignored = 0;
    // As long as any other wait of the harness: on a loaded machine the
    // program has taken more than 5 s to answer its first probe.
    const auto limit = static_cast<UINT>(kTimeout.count());
    const LRESULT sent = SendMessageTimeoutW(window, RegisterWindowMessageW(probe::kMessage), request,
                                             reinterpret_cast<LPARAM>(window), SMTO_ABORTIFHUNG, limit, &ignored);
    UnhookWindowsHookEx(hook);
    if (!sent) fail("the program does not answer the probe", where);
    if (!(*answer).done) fail("the probe did not run inside the program", where);
    if (!(*answer).ok) fail("the probe could not do it for " + describe(window), where);
    return (*answer).text;
}

// Records arrive depth first; a stack of open sub-menus rebuilds the tree.
std::vector<MenuItem> parseMenu(const std::wstring& answer, Where where) {
    std::vector<MenuItem> bar;
    std::vector<std::vector<MenuItem>*> open{&bar};
    for (const std::wstring& record : split(answer, probe::kRecord)) {
        if (record.empty()) continue;
        const auto fields = split(record, probe::kField);
        if (fields.size() != 5) fail("the probe's menu answer is garbled", where);
        const auto depth = static_cast<std::size_t>(number(fields[0]));
        if (depth + 1 > open.size()) fail("the probe's menu answer skips a level", where);
        open.resize(depth + 1);
        MenuItem item;
        item.type = static_cast<UINT>(number(fields[1]));
        item.state = static_cast<UINT>(number(fields[2]));
        item.id = static_cast<UINT>(number(fields[3]));
        item.text = fields[4];
        open.back()->push_back(std::move(item));
        open.push_back(&open.back()->back().items);
    }
    return bar;
}

}  // namespace

std::vector<MenuItem> menuBarOf(HWND window, Where where) {
    return parseMenu(ask(window, probe::kMenuBar, where), where);
}

std::vector<MenuItem> menuOf(HWND popupMenu, Where where) {
    return parseMenu(ask(popupMenu, probe::kPopupMenu, where), where);
}

HWND waitForPopupMenu(DWORD pid, Duration timeout, Where where) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            const auto menus = topWindowsOf(pid, L"#32768");
            found = menus.empty() ? nullptr : menus.front();
            return found != nullptr;
        },
        "a pop-up menu", timeout, where);
    return found;
}

Font fontOf(HWND window, Where where) {
    const auto fields = split(ask(window, probe::kFont, where), probe::kField);
    if (fields.size() != 8) fail("the probe's font answer is garbled", where);
    Font font;
    font.height = number(fields[0]);
    font.weight = number(fields[1]);
    font.charset = static_cast<BYTE>(number(fields[2]));
    font.italic = number(fields[3]) != 0;
    font.underline = number(fields[4]) != 0;
    font.defaultGuiFont = number(fields[5]) != 0;
    font.systemFont = number(fields[6]) != 0;
    font.face = fields[7];
    return font;
}

void focus(HWND control, Where where) {
    activate(control, where);
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    if (focusOf(pid) == control) return;
    ask(control, probe::kFocus, where);
    waitUntil([&] { return focusOf(pid) == control; }, "the focus on " + describe(control), kTimeout, where);
}

}  // namespace morvane::gui
