#include "convert/auto_converter.h"

namespace morvane {

const std::array<ReplacementStep, 11> AutoConverter::steps = {{
    {".", "[0.5];"},   // a dot after the note
    {"_", ",2;"},      // one line under the note
    {"=", ",1;"},      // two lines under the note
    {"一", "4;"},      // one to four dashes after the note
    {"二", "5;"},
    {"三", "6;"},
    {"四", "7;"},
    {"mx", ",3;"},     // no line under the note; "Mx" and "mX" are not marks
    {"MX", ",3;"},
    {"，", ","},       // the full-width comma
    {"。", "[0.5];"},  // the dot written as the Chinese full stop
}};

GbkText AutoConverter::convert(const GbkText& numberedScore) {
    return applyReplacementSteps(numberedScore, steps);
}

}  // namespace morvane
