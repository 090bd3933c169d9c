// A picture box: draws a JPEG (or any image WIC decodes) stretched to fill
// its rectangle, aspect ratio not kept, with no border.
#pragma once

#include <windows.h>

#include "win32/geometry.h"

namespace morvane::win32 {

// `resourceName` names an RCDATA resource of the executable holding the
// image file.  The caller must have initialised COM on this thread.
HWND createPictureBox(HWND parent, int id, ControlRect rect, const wchar_t* resourceName);

}  // namespace morvane::win32
