// Numbered score with duration marks -> auto score: a script of items, each
// ended by ";", for the separate auto-player tool.  A note is its digit
// (after "+" or "-" for the high or low octave) followed by "," and a
// duration code; the marks after it are replaced, everything else passes.
#pragma once

#include <array>

#include "convert/replacement_steps.h"

namespace morvane {

struct AutoConverter {
    // The table, in the order that defines the result: "." before "。", so
    // the "[0.5];" that "。" inserts keeps its point.
    static const std::array<ReplacementStep, 11> steps;

    // The table applied one whole-text pass per step.
    static GbkText convert(const GbkText& numberedScore);
};

}  // namespace morvane
