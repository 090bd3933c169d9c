// Numbered score -> manual score: the keys a player presses by hand, one
// keyboard row per octave ("1".."7" high, "Q".."U" middle, "A".."J" low,
// "----" for a rest).
#pragma once

#include <array>

#include "convert/replacement_steps.h"

namespace morvane {

struct ManualConverter {
    // The table, in the order that defines the result.
    static const std::array<ReplacementStep, 32> steps;

    // The conversion the program runs.  A single pass over the text that
    // gives byte for byte what the 32 passes of `steps` give (a test holds
    // the two together), at a fraction of the cost.
    static GbkText convert(const GbkText& numberedScore);

    // The table applied literally, one whole-text pass per step.
    static GbkText convertLiterally(const GbkText& numberedScore);
};

}  // namespace morvane
