// The longer texts of the help window.
#pragma once

namespace morvane {

extern const char kHelpKeyText[];      // the keys of the three octaves
extern const char kHelpCodeText[];     // the codes added before an auto conversion
extern const char kHelpClosingText[];  // the closing remark

}  // namespace morvane
