#include "files/file_dialog_settings.h"

#include <string>
#include <string_view>

namespace morvane {

namespace {

FileDialogSettings scoreDialogSettings(FileDialogKind kind) {
    FileDialogSettings s;
    s.kind = kind;
    s.filter = "文本文档（*.txt）";
    s.initialFilter = 0;
    s.defaultExt = "txt";
    s.createPrompt = false;
    s.fileMustExist = true;
    s.overwritePrompt = true;
    s.pathMustExist = true;
    s.keepCurrentDir = false;
    return s;
}

bool isTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

FileDialogSettings scoreSaveDialogSettings() { return scoreDialogSettings(FileDialogKind::save); }
FileDialogSettings scoreOpenDialogSettings() { return scoreDialogSettings(FileDialogKind::open); }

std::vector<FileTypeEntry> parseFileTypeList(const GbkText& filter) {
    std::string_view text = filter.view();
    while (!text.empty() && isTrailingBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return {};

    // The parts, each ended by a "|" at a character start; what follows the
    // last "|" ends no part.  Two "|" as the last two characters mean the
    // text already ends with "||".
    std::vector<std::string_view> parts;
    std::size_t partStart = 0;
    std::size_t lastBar = std::string_view::npos;
    std::size_t barBeforeLast = std::string_view::npos;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '|') {
            parts.push_back(text.substr(partStart, i - partStart));
            barBeforeLast = lastBar;
            lastBar = i;
            partStart = i + 1;
            ++i;
        } else {
            i += isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        }
    }
    const bool endsWithTwoBars =
        text.size() >= 2 && lastBar == text.size() - 1 && barBeforeLast == text.size() - 2;
    if (!endsWithTwoBars) {
        // Appending "||" ends the unfinished part and adds one empty part.
        parts.push_back(text.substr(partStart));
        parts.emplace_back();
    }

    std::vector<FileTypeEntry> entries;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        const std::string_view pattern = i + 1 < parts.size() ? parts[i + 1] : std::string_view{};
        entries.push_back({GbkText(parts[i]), GbkText(pattern)});
    }
    return entries;
}

int initialFileTypeNumber(int initialFilter, std::size_t entryCount) {
    if (entryCount == 0) return 0;
    return (initialFilter < 0 ? 0 : initialFilter) + 1;
}

}  // namespace morvane
