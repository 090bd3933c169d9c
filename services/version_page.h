// What the update check makes of the version page: the newest version sits
// between two markers, and only a clearly greater number is an update.
#pragma once

#include "convert/gbk_text.h"

namespace morvane {

inline constexpr const char kVersionStartMarker[] = "版本开始";
inline constexpr const char kVersionEndMarker[] = "版本结束";

// The bytes between the first `startMarker` at or after `startPosition` and
// the first `endMarker` behind it; empty when either is missing.  In a
// marker, "#引号" stands for a double quote.
GbkText textBetween(const GbkText& text, const GbkText& startMarker, const GbkText& endMarker,
                    int startPosition, bool caseSensitive);

// True when the page names a version greater than `ownVersion` by more than
// 1e-7.  An unreadable page (empty, no markers, no number) is never newer.
bool offersNewerVersion(const GbkText& pageText, const GbkText& ownVersion);

}  // namespace morvane
