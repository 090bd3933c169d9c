#include "win32/fonts.h"

namespace morvane::win32 {

HFONT defaultGuiFont() {
    static const HFONT font = [] {
        const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW description{};
        if (!GetObjectW(stock, sizeof(description), &description) || description.lfCharSet == GB2312_CHARSET)
            return stock;
        description.lfCharSet = GB2312_CHARSET;
        const HFONT chinese = CreateFontIndirectW(&description);
        return chinese ? chinese : stock;
    }();
    return font;
}

}  // namespace morvane::win32
