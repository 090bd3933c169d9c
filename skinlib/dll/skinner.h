// Gives the windows of the calling thread the look of a skin: those open now
// (found by enumeration) and those created later (through a CBT hook).  Each
// window of a kind it skins is subclassed; the subclass only changes painting
// and the colours answered to WM_CTLCOLOR*, everything else passes through.
#pragma once

#include "skinlib/skin_format.h"

namespace morvane::skinh {

// Makes `skin` the skin in use and repaints.  False when nothing changed
// (GDI or the hook refused); the previous skin, if any, then stays.
bool applySkin(const skin::Skin& skin);

}  // namespace morvane::skinh
