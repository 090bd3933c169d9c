#include "services/version_page.h"

namespace morvane {

GbkText textBetween(const GbkText& text, const GbkText& startMarker, const GbkText& endMarker,
                    int startPosition, bool caseSensitive) {
    const GbkText start = replaceSubtext(startMarker, "#引号", "\"");
    const GbkText end = replaceSubtext(endMarker, "#引号", "\"");
    const int found = findText(text, start, startPosition, !caseSensitive);
    if (found == -1) return {};
    const int behind = found + textLength(start);
    const int endAt = findText(text, end, behind, !caseSensitive);
    if (endAt == -1) return {};
    return midText(text, behind, endAt - behind);
}

bool offersNewerVersion(const GbkText& pageText, const GbkText& ownVersion) {
    const GbkText newest = textBetween(pageText, kVersionStartMarker, kVersionEndMarker, 0, false);
    return textToNumber(ownVersion) - textToNumber(newest) < -0.0000001;
}

}  // namespace morvane
