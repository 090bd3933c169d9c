// An ordered table of whole-text replacements, the form both conversions take.
#pragma once

#include <span>

#include "convert/gbk_text.h"

namespace morvane {

struct ReplacementStep {
    const char* find;
    const char* replacement;
};

// Runs every step over the whole text in table order, each with
// replaceSubtext: the definition of what a conversion table means.
GbkText applyReplacementSteps(const GbkText& text, std::span<const ReplacementStep> steps);

}  // namespace morvane
