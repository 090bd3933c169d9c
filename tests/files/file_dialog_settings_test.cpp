#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/file_dialog_settings.h"

using namespace morvane;

namespace {

TEST(FileDialogSettings, TheTwoControlsStartAsTheMainWindowDefinesThem) {
    for (const auto& [s, kind] : {std::pair{scoreSaveDialogSettings(), FileDialogKind::save},
                                  std::pair{scoreOpenDialogSettings(), FileDialogKind::open}}) {
        EXPECT_EQ(s.kind, kind);
        EXPECT_TRUE(isEmptyText(s.title));
        EXPECT_TRUE(isEmptyText(s.fileName));
        EXPECT_EQ(s.filter.bytes(), "文本文档（*.txt）");
        EXPECT_EQ(s.initialFilter, 0);
        EXPECT_TRUE(isEmptyText(s.initialDir));
        EXPECT_EQ(s.defaultExt.bytes(), "txt");
        EXPECT_FALSE(s.createPrompt);
        EXPECT_TRUE(s.fileMustExist);
        EXPECT_TRUE(s.overwritePrompt);
        EXPECT_TRUE(s.pathMustExist);
        EXPECT_FALSE(s.keepCurrentDir);
    }
    EXPECT_EQ(static_cast<int>(FileDialogKind::open), 0);
    EXPECT_EQ(static_cast<int>(FileDialogKind::save), 1);
}

struct FilterCase {
    std::string filter;
    std::vector<std::pair<std::string, std::string>> entries;
};

TEST(FileTypeList, ReadsLabelPatternPairs) {
    const FilterCase cases[] = {
        // The main window's filter: one entry, its pattern empty.
        {"文本文档（*.txt）", {{"文本文档（*.txt）", ""}}},
        {"", {}},
        {" \t\r\n", {}},
        {"文本文档（*.txt）  \r\n", {{"文本文档（*.txt）", ""}}},
        {"Text|*.txt", {{"Text", "*.txt"}}},
        {"Text|*.txt|", {{"Text", "*.txt"}}},
        {"Text|*.txt||", {{"Text", "*.txt"}}},
        {"Text|*.txt|All|*.*", {{"Text", "*.txt"}, {"All", "*.*"}}},
        {"Text|*.txt|All|*.*|", {{"Text", "*.txt"}, {"All", "*.*"}}},
        {"Text|*.txt|All", {{"Text", "*.txt"}, {"All", ""}}},
        {"Text||All|*.*", {{"Text", ""}, {"All", "*.*"}}},
        // The list ends at the first empty label.
        {"Text|*.txt||All|*.*", {{"Text", "*.txt"}}},
        {"|*.txt", {}},
        {"|", {}},
        {"||", {}},
        {"|||", {}},
        {"a||", {{"a", ""}}},
        {"a|", {{"a", ""}}},
        // Leading blanks stay; only the end is trimmed.
        {" a | b ", {{" a ", " b"}}},
        // A "|" that is the second byte of a Chinese character ends no part:
        // "亅" is 81 7C.
        {"亅|*.x", {{"亅", "*.x"}}},
        {"a亅", {{"a亅", ""}}},
    };
    for (const auto& c : cases) {
        std::vector<FileTypeEntry> expected;
        for (const auto& [label, pattern] : c.entries) expected.push_back({GbkText(label), GbkText(pattern)});
        EXPECT_EQ(parseFileTypeList(GbkText(c.filter)), expected) << '"' << c.filter << '"';
    }
}

TEST(FileTypeList, InitialEntryIsInitialFilterPlusOne) {
    EXPECT_EQ(initialFileTypeNumber(0, 1), 1);
    EXPECT_EQ(initialFileTypeNumber(1, 2), 2);
    EXPECT_EQ(initialFileTypeNumber(-1, 1), 1);
    EXPECT_EQ(initialFileTypeNumber(-100, 3), 1);
    EXPECT_EQ(initialFileTypeNumber(0, 0), 0);
    EXPECT_EQ(initialFileTypeNumber(5, 0), 0);
    // No clamping: a number past the list is handed over as it is.
    EXPECT_EQ(initialFileTypeNumber(5, 1), 6);
}

}  // namespace
