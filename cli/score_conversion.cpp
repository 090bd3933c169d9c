#include "cli/score_conversion.h"

#include "convert/auto_converter.h"
#include "convert/manual_converter.h"
#include "files/gbk_unicode.h"
#include "files/import_decoding.h"

namespace morvane {

std::span<const ReplacementStep> conversionSteps(ConversionMode mode) {
    if (mode == ConversionMode::manual) return ManualConverter::steps;
    return AutoConverter::steps;
}

GbkText throughEditBox(const GbkText& text) { return utf16ToGbk(gbkToUtf16(text.view())); }

GbkText importedScore(const ByteData& file) { return throughEditBox(decodeImportedFile(file)); }

GbkText convertAsTheWindowDoes(ConversionMode mode, const GbkText& importedText) {
    if (mode == ConversionMode::manual) return ManualConverter::convert(importedText);
    // The auto score is shown in a box and saved from there.
    return throughEditBox(AutoConverter::convert(importedText));
}

std::string encodeScore(const GbkText& score, OutputEncoding encoding) {
    if (encoding == OutputEncoding::utf8) return gbkToUtf8(score.view());
    return score.bytes();
}

}  // namespace morvane
