#include <gtest/gtest.h>

#include <string>

#include "services/skin_install.h"

namespace {

struct DirectoryCase {
    const char* executable;
    const char* directory;
};

TEST(SkinInstall, RunDirectoryHasNoTrailingBackslash) {
    const DirectoryCase cases[] = {
        {"C:\\Games\\Morvane\\Morvane.exe", "C:\\Games\\Morvane"},
        {"C:\\Morvane.exe", "C:"},
        {"D:\\乐谱\\Morvane.exe", "D:\\乐谱"},
        {"E:\\\x95\\\\Morvane.exe", "E:\\\x95\\"},  // 0x95 0x5C is one character, not a separator
        {"Morvane.exe", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(morvane::runDirectoryOf(c.executable).bytes(), std::string(c.directory)) << c.executable;
    EXPECT_EQ(morvane::skinLibraryPath("C:").bytes(), "C:\\SkinH_EL.dll");
    EXPECT_EQ(morvane::skinLibraryPath("C:\\Games").bytes(), "C:\\Games\\SkinH_EL.dll");
}

TEST(SkinInstall, FatalErrorTextForAMissingLibrary) {
    EXPECT_EQ(morvane::fatalErrorText(morvane::missingSkinLibraryMessage()).bytes(),
              std::string("运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n"));
}

TEST(SkinInstall, OnlyTheThirtyThreeSkinsAreNumbers) {
    EXPECT_FALSE(morvane::isSkinNumber(0));
    EXPECT_TRUE(morvane::isSkinNumber(1));
    EXPECT_TRUE(morvane::isSkinNumber(9));
    EXPECT_TRUE(morvane::isSkinNumber(33));
    EXPECT_FALSE(morvane::isSkinNumber(34));
    EXPECT_FALSE(morvane::isSkinNumber(-9));
}

}  // namespace
