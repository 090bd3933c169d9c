// SkinH_EL.dll: the one exported function.
#include <windows.h>

#include "skinlib/dll/skinner.h"
#include "skinlib/skin_format.h"

// data/size: one ".SHE" skin block, read during the call and not kept.
// text and the three integers are accepted and ignored.  Returns 1 when the
// skin is in use, 0 when the call changed nothing (no data, damaged data, or
// the system refused); callers may ignore it.
extern "C" __declspec(dllexport) int __stdcall SkinH_AttachRes(const unsigned char* data, int size, const char* text,
                                                               int, int, int) {
    (void)text;
    if (data == nullptr || size <= 0) return 0;
    const auto parsed = morvane::skin::parseSkin(data, static_cast<std::size_t>(size));
    if (!parsed.ok()) return 0;
    return morvane::skinh::applySkin(parsed.skin) ? 1 : 0;
}
