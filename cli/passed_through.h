// What a conversion left alone: the characters of a numbered score that come
// out of the conversion unchanged although they are not part of the score's
// layout, such as "8", "９" or "Mx".  A player sees what was ignored.
#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

#include "cli/score_conversion.h"
#include "convert/gbk_text.h"
#include "convert/replacement_steps.h"

namespace morvane {

// A text with, for each of its bytes, the position (0-based) of the input
// byte it still is, or kInsertedByte for a byte some replacement wrote.
struct TracedText {
    static constexpr std::size_t kInsertedByte = std::numeric_limits<std::size_t>::max();

    GbkText text;
    std::vector<std::size_t> sources;
};

// Runs the table over the text as applyReplacementSteps does, finding each
// occurrence with findText where replaceSubtext replaces it, and keeps track
// of where every byte of the result came from.
TracedText traceReplacementSteps(const GbkText& text, std::span<const ReplacementStep> steps);

// A run of characters that passed through unchanged and are not layout,
// with the line and column of its first character (both 1-based; columns
// count characters, a two-byte GBK character being one; LF or CR LF ends a
// line).  Runs end at layout, at a converted character and at a line's end.
struct PassedThrough {
    int line;
    int column;
    GbkText text;

    friend bool operator==(const PassedThrough&, const PassedThrough&) = default;
};

// In the text that the mode converts (see importedScore).  Layout in both
// modes: blanks, line breaks, bar lines, dashes and brackets; in the auto
// score also what it keeps on purpose: the notes "0" to "7", the high-octave
// sign "+" and the script's own "," and ";".
std::vector<PassedThrough> findPassedThrough(ConversionMode mode, const GbkText& importedText);

}  // namespace morvane
