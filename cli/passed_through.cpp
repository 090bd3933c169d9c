#include "cli/passed_through.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "files/gbk_unicode.h"

namespace morvane {

namespace {

// Characters that pass through on purpose: a score's layout.  By group:
// blanks and line breaks, bar lines, dashes, brackets.
constexpr const char* kLayout[] = {
    " ", "\t", "\r", "\n", "　",
    "|", "｜",
    "-", "－", "—",
    "(", ")", "[", "]", "{", "}", "（", "）", "［", "］", "｛", "｝", "【", "】", "〔", "〕",
};

// What the auto score keeps as it is: the notes, the high-octave sign (the
// low one is a dash) and the separators of the script.
constexpr const char* kAutoScoreKept[] = {"0", "1", "2", "3", "4", "5", "6", "7", "+", ",", ";"};

bool isIn(std::span<const char* const> characters, std::string_view character) {
    return std::any_of(characters.begin(), characters.end(), [&](const char* c) { return character == c; });
}

bool isExpected(ConversionMode mode, std::string_view character) {
    return isIn(kLayout, character) || (mode == ConversionMode::autoScore && isIn(kAutoScoreKept, character));
}

}  // namespace

TracedText traceReplacementSteps(const GbkText& text, std::span<const ReplacementStep> steps) {
    TracedText current{text, {}};
    current.sources.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) current.sources[i] = i;

    for (const ReplacementStep& step : steps) {
        const GbkText what(step.find);
        const std::string_view replacement(step.replacement);
        const std::string_view bytes = current.text.view();
        std::string out;
        std::vector<std::size_t> sources;
        out.reserve(bytes.size());
        sources.reserve(bytes.size());
        std::size_t copied = 0;  // bytes before this are already in `out`
        const auto keep = [&](std::size_t end) {
            out.append(bytes.substr(copied, end - copied));
            sources.insert(sources.end(), current.sources.begin() + static_cast<std::ptrdiff_t>(copied),
                           current.sources.begin() + static_cast<std::ptrdiff_t>(end));
        };
        // findText from just behind the last occurrence finds exactly the
        // occurrences that replaceSubtext replaces, in the same order.
        for (int at = findText(current.text, what, 1, false); at != -1;
             at = findText(current.text, what, static_cast<int>(copied) + 1, false)) {
            const auto start = static_cast<std::size_t>(at - 1);
            keep(start);
            out.append(replacement);
            sources.insert(sources.end(), replacement.size(), TracedText::kInsertedByte);
            copied = start + what.size();
        }
        keep(bytes.size());
        current.text = GbkText::adopt(std::move(out));
        current.sources = std::move(sources);
    }
    return current;
}

std::vector<PassedThrough> findPassedThrough(ConversionMode mode, const GbkText& importedText) {
    const std::string_view bytes = importedText.view();
    std::vector<bool> untouched(bytes.size(), false);
    for (const std::size_t source : traceReplacementSteps(importedText, conversionSteps(mode)).sources) {
        if (source != TracedText::kInsertedByte) untouched[source] = true;
    }

    std::vector<PassedThrough> found;
    std::string run;  // the run being collected; found.back() once it ends
    const auto endRun = [&] {
        if (!run.empty()) found.back().text = GbkText::adopt(std::move(run));
        run.clear();
    };
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        // Characters as code page 936 has them, which is how an editor
        // shows the file and counts its columns.
        std::size_t length = 1;
        decodeGbkCharacter(bytes.substr(i), length);
        const std::string_view character = bytes.substr(i, length);
        const bool passed = std::all_of(untouched.begin() + static_cast<std::ptrdiff_t>(i),
                                        untouched.begin() + static_cast<std::ptrdiff_t>(i + length),
                                        [](bool b) { return b; });
        if (passed && !isExpected(mode, character)) {
            if (run.empty()) found.push_back({line, column, {}});
            run.append(character);
        } else {
            endRun();
        }
        if (character == "\n") {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += length;
    }
    endRun();
    return found;
}

}  // namespace morvane
