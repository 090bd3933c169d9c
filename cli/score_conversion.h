// The two conversions as the window runs them, from a file's bytes to the
// bytes that the window would put on the clipboard.
#pragma once

#include <span>
#include <string>

#include "convert/gbk_text.h"
#include "convert/replacement_steps.h"
#include "files/byte_data.h"

namespace morvane {

enum class ConversionMode { manual, autoScore };

// What the converted score is written in: GBK, which the auto-player reads
// and the clipboard holds, or UTF-8.
enum class OutputEncoding { gbk, utf8 };

// The table of the mode's conversion.
std::span<const ReplacementStep> conversionSteps(ConversionMode mode);

// What an edit box of the window gives back for a text put into it: the
// text through UTF-16 and back, so a GBK byte pair that code page 936 does
// not hold comes back as "?".
GbkText throughEditBox(const GbkText& text);

// The text that the window converts when the file is imported into its
// numbered-score box.
GbkText importedScore(const ByteData& file);

// The bytes of the window's result for that text: the manual score as the
// manual conversion copies it, or the auto score as its save copies it from
// the result box.
GbkText convertAsTheWindowDoes(ConversionMode mode, const GbkText& importedText);

std::string encodeScore(const GbkText& score, OutputEncoding encoding);

}  // namespace morvane
