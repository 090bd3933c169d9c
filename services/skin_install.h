// The decisions of the skin installation that need no operating system: the
// run directory, the library's path, which skin is handed over, and the text
// of the fatal error when the library cannot be used.
#pragma once

#include "convert/gbk_text.h"

namespace morvane {

inline constexpr const char kSkinLibraryName[] = "SkinH_EL.dll";
inline constexpr const char kSkinEntryPoint[] = "SkinH_AttachRes";
inline constexpr int kSkinCount = 33;
inline constexpr int kSkinInUse = 9;

// The directory of `executablePath`, without a trailing backslash; for an
// executable in a drive's root the drive's name alone ("C:").
GbkText runDirectoryOf(const GbkText& executablePath);

// The run directory and "\SkinH_EL.dll".
GbkText skinLibraryPath(const GbkText& runDirectory);

// Skins are numbered 1 to 33; any other number hands over no data.
constexpr bool isSkinNumber(int skinNumber) { return skinNumber >= 1 && skinNumber <= kSkinCount; }

// "运行时出错!", CR LF, CR LF, "错误信息：", the message, CR LF.
GbkText fatalErrorText(const GbkText& message);
// The message for a library that cannot be loaded or lacks its entry point.
GbkText missingSkinLibraryMessage();

}  // namespace morvane
