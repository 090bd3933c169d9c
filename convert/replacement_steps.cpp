#include "convert/replacement_steps.h"

namespace morvane {

GbkText applyReplacementSteps(const GbkText& text, std::span<const ReplacementStep> steps) {
    GbkText current = text;
    for (const auto& step : steps) current = replaceSubtext(current, step.find, step.replacement);
    return current;
}

}  // namespace morvane
