// The two label kinds the windows use.
//  - A transparent label draws only its text, in its own colour, over what
//    lies behind it (its parent must not clip children).  It takes no input.
//  - A plain label paints its own background; its parent answers
//    WM_CTLCOLORSTATIC for its colours.
// Both carry the "SkinH.Keep" property: their colours are the program's own
// and a skin leaves them alone.
#pragma once

#include <windows.h>

#include "convert/gbk_text.h"
#include "win32/geometry.h"

namespace morvane::win32 {

enum class LabelLayout {
    singleLineCentred,  // one line, vertically centred
    wrappedFromTop,     // word-wrapped to the width, from the top; CR LF starts a line
};

HWND createTransparentLabel(HWND parent, int id, ControlRect rect, const GbkText& text, COLORREF colour,
                            LabelLayout layout);

HWND createPlainLabel(HWND parent, int id, ControlRect rect, const GbkText& text, DWORD extraStyle = 0);

// Marks a window whose colours a skin must not change.
void keepOwnColours(HWND hwnd);

}  // namespace morvane::win32
