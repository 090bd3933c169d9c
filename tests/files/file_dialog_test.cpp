#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "files/win32/file_dialog.h"

using namespace morvane;
using morvane::win32::fileDialogFilter;
using morvane::win32::fileDialogFlags;

namespace {

using namespace std::string_literals;

TEST(FileDialogFlags, TheScoreDialogs) {
    EXPECT_EQ(fileDialogFlags(scoreSaveDialogSettings()),
              DWORD{OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST});
    EXPECT_EQ(fileDialogFlags(scoreOpenDialogSettings()),
              DWORD{OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST});
}

TEST(FileDialogFlags, EachOptionAlone) {
    for (const auto kind : {FileDialogKind::open, FileDialogKind::save}) {
        FileDialogSettings s;
        s.kind = kind;
        EXPECT_EQ(fileDialogFlags(s), DWORD{OFN_HIDEREADONLY});
        s.createPrompt = true;
        EXPECT_EQ(fileDialogFlags(s), DWORD{OFN_HIDEREADONLY | OFN_CREATEPROMPT});
        s = {};
        s.kind = kind;
        s.fileMustExist = true;
        EXPECT_EQ(fileDialogFlags(s), kind == FileDialogKind::open ? DWORD{OFN_HIDEREADONLY | OFN_FILEMUSTEXIST}
                                                                   : DWORD{OFN_HIDEREADONLY});
        s = {};
        s.kind = kind;
        s.overwritePrompt = true;
        EXPECT_EQ(fileDialogFlags(s), DWORD{OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT});
        s = {};
        s.kind = kind;
        s.pathMustExist = true;
        EXPECT_EQ(fileDialogFlags(s), DWORD{OFN_HIDEREADONLY | OFN_PATHMUSTEXIST});
        s = {};
        s.kind = kind;
        s.keepCurrentDir = true;
        EXPECT_EQ(fileDialogFlags(s), DWORD{OFN_HIDEREADONLY | OFN_NOCHANGEDIR});
    }
}

TEST(FileDialogFilter, IsBuiltFromTheEntries) {
    // The score dialogs' one entry keeps its label and its empty pattern.
    EXPECT_EQ(fileDialogFilter("文本文档（*.txt）"), L"文本文档（*.txt）\0\0\0"s);
    EXPECT_EQ(fileDialogFilter("Text|*.txt|All|*.*"), L"Text\0*.txt\0All\0*.*\0\0"s);
    EXPECT_EQ(fileDialogFilter(""), L"");
    EXPECT_EQ(fileDialogFilter("||"), L"");
}

}  // namespace
