#include "services/skin_install.h"

#include <string>

namespace morvane {

GbkText runDirectoryOf(const GbkText& executablePath) {
    // The last separator that begins a character: a "\" can be the second
    // byte of a Chinese character.
    const std::string_view path = executablePath.view();
    std::size_t cut = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += (isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1)) {
        if (path[i] == '\\' || path[i] == '/') cut = i;
    }
    if (cut == std::string_view::npos) return {};
    return GbkText(path.substr(0, cut));
}

GbkText skinLibraryPath(const GbkText& runDirectory) {
    return concatTexts(runDirectory, "\\", kSkinLibraryName);
}

GbkText fatalErrorText(const GbkText& message) {
    return concatTexts("运行时出错!\r\n\r\n错误信息：", message, "\r\n");
}

GbkText missingSkinLibraryMessage() {
    return concatTexts("无法找到指定DLL库文件“", kSkinLibraryName, "”中的输出命令“", kSkinEntryPoint, "”");
}

}  // namespace morvane
