// Skin descriptions: the readable text from which each skin of the skin set
// is generated (resources/skins/NN.txt).  Portable, no Windows headers.
//
//   # comment
//   number = 9
//   name   = Harbor
//   size   = 13192          bytes of the generated block, padding included
//   corner = 3              button corner radius in pixels, 0..8
//   window.back = #E9EEF4   one line per colour role (see roleName)
//
// Every key must appear exactly once; unknown keys are errors.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "skinlib/skin_format.h"

namespace morvane::skin {

struct SkinDescription {
    int number = 0;
    std::size_t size = 0;
    Skin skin{};
};

struct DescriptionResult {
    SkinDescription description{};
    std::string error;  // empty on success, else "line N: what is wrong"
    bool ok() const { return error.empty(); }
};

DescriptionResult readSkinDescription(std::string_view text);

}  // namespace morvane::skin
