// Real input through SendInput, aimed like a person's: at the foreground
// window and the control with the focus.
#include "harness/internal.h"

namespace morvane::gui {

namespace detail {

void send(std::vector<INPUT>& inputs, Where where) {
    if (inputs.empty()) return;
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) failWithLastError("SendInput took " + std::to_string(sent) + " of " + std::to_string(inputs.size()) + " events", where);
}

}  // namespace detail

namespace {

// A wait inside an input function: shorter than a test's, since the state
// it waits for comes from the harness itself.
Duration inputTimeout = 5s;

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

bool isExtended(WORD vk) {
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_APPS:
        return true;
    default:
        return false;
    }
}

INPUT keyEvent(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT unicodeEvent(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void addKey(std::vector<INPUT>& inputs, WORD vk, Modifiers modifiers) {
    const WORD order[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    const Modifiers flags[] = {kCtrl, kShift, kAlt};
    for (int i = 0; i < 3; ++i) {
        if (modifiers & flags[i]) inputs.push_back(keyEvent(order[i], false));
    }
    inputs.push_back(keyEvent(vk, false));
    inputs.push_back(keyEvent(vk, true));
    for (int i = 2; i >= 0; --i) {
        if (modifiers & flags[i]) inputs.push_back(keyEvent(order[i], true));
    }
}

// Keyboard input goes to the focus, so before it the target must have it:
// the target itself, or a window inside it (the edit of a combo box).
void waitForKeyboardTarget(HWND target, Where where) {
    activate(target, where);
    if (rootOf(target) == target) return;
    const DWORD pid = processOf(target);
    HWND focus = nullptr;
    const bool ok = eventually(
        [&] {
            focus = focusOf(pid);
            return focus == target || IsChild(target, focus);
        },
        inputTimeout);
    if (!ok) fail("keyboard input for " + describe(target) + ", but the focus is on " + describe(focus), where);
}

// The position of the screen point in SendInput's absolute units, which
// span the virtual screen with 0..65535.
LONG absolute(LONG pixel, int origin, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel - origin) * 65535 + (extent - 1) / 2) / (extent - 1));
}

INPUT mouseEvent(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = absolute(screen.x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy = absolute(screen.y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

void sendMouse(POINT screen, DWORD flags, Where where) {
    std::vector<INPUT> inputs{mouseEvent(screen, flags)};
    detail::send(inputs, where);
}

bool disabledOnTheWay(HWND control) {
    for (HWND window = control; window; window = GetParent(window)) {
        if (!IsWindowEnabled(window)) return true;
    }
    return false;
}

// A click at the centre must reach the control itself (or a child of it):
// otherwise it would land on whatever covers it.  A control that cannot
// take input (it or its window disabled, e.g. behind a modal box) is
// clicked where it is, without bringing its window to the front, as a
// person would try; WindowFromPoint then gives the disabled window.
POINT aimAt(HWND control, Where where) {
    if (!IsWindow(control)) fail("clicking a window that does not exist", where);
    if (!isVisible(control)) fail("clicking " + describe(control) + ", which is not visible", where);
    const bool disabled = disabledOnTheWay(control);
    if (!disabled) activate(control, where);
    const POINT centre = centreOf(control);
    HWND hit = nullptr;
    const bool ok = eventually(
        [&] {
            hit = WindowFromPoint(centre);
            return hit == control || IsChild(control, hit) || (disabled && IsChild(hit, control));
        },
        inputTimeout);
    if (!ok) fail("clicking " + describe(control) + ", but " + describe(hit) + " is at its centre", where);
    return centre;
}

void clickWith(HWND control, DWORD down, DWORD up, Where where) {
    const POINT centre = aimAt(control, where);
    moveTo(centre, where);
    std::vector<INPUT> inputs{mouseEvent(centre, down), mouseEvent(centre, up)};
    detail::send(inputs, where);
}

}  // namespace

InputTimeout::InputTimeout(Duration timeout) : previous_(inputTimeout) {
    inputTimeout = timeout;
}

InputTimeout::~InputTimeout() {
    inputTimeout = previous_;
}

void activate(HWND window, Where where) {
    HWND root = rootOf(window);
    if (!root) fail("activating a window that does not exist", where);
    if (GetForegroundWindow() == root) return;
    // SetForegroundWindow again now and then: a window that is just being
    // created may not take it the first time.
    int tries = 0;
    const bool ok = eventually(
        [&] {
            if (tries++ % 20 == 0) SetForegroundWindow(root);
            return GetForegroundWindow() == root;
        },
        inputTimeout);
    if (!ok) fail("cannot bring " + describe(root) + " to the foreground; " + describe(GetForegroundWindow()) + " stays there", where);
}

void typeText(HWND target, std::wstring_view text, Where where) {
    waitForKeyboardTarget(target, where);
    std::vector<INPUT> inputs;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (unit == L'\r' || unit == L'\n') {
            if (unit == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            addKey(inputs, VK_RETURN, kNoModifier);
        } else if (unit == L'\t') {
            addKey(inputs, VK_TAB, kNoModifier);
        } else {
            inputs.push_back(unicodeEvent(unit, false));
            inputs.push_back(unicodeEvent(unit, true));
        }
    }
    detail::send(inputs, where);
}

void pressKey(HWND target, WORD virtualKey, Modifiers modifiers, Where where) {
    waitForKeyboardTarget(target, where);
    std::vector<INPUT> inputs;
    addKey(inputs, virtualKey, modifiers);
    detail::send(inputs, where);
}

void click(HWND control, Where where) {
    clickWith(control, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, where);
}

void rightClick(HWND control, Where where) {
    clickWith(control, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, where);
}

void moveTo(POINT screen, Where where) {
    sendMouse(screen, 0, where);
    POINT now{};
    const bool ok = eventually(
        [&] {
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        inputTimeout);
    if (!ok) {
        fail("the mouse went to " + std::to_string(now.x) + "," + std::to_string(now.y) + " instead of " +
                 std::to_string(screen.x) + "," + std::to_string(screen.y),
             where);
    }
}

void mouseDown(POINT screen, Button button, Where where) {
    moveTo(screen, where);
    sendMouse(screen, button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN, where);
}

void mouseUp(POINT screen, Button button, Where where) {
    moveTo(screen, where);
    sendMouse(screen, button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP, where);
}

}  // namespace morvane::gui
