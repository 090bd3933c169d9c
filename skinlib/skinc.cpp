// skinc: turns one skin description into its binary ".SHE" block.
//   skinc DESCRIPTION.txt OUTPUT.she
// Runs on the build machine; the build calls it once per skin of the set.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "skinlib/skin_description.h"
#include "skinlib/skin_format.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinc DESCRIPTION.txt OUTPUT.she\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "skinc: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    const auto read = morvane::skin::readSkinDescription(text.str());
    if (!read.ok()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], read.error.c_str());
        return 1;
    }
    const auto block = morvane::skin::serializeSkin(read.description.skin, read.description.size);
    if (block.empty()) {
        std::fprintf(stderr, "%s: cannot build a block of %zu bytes\n", argv[1], read.description.size);
        return 1;
    }
    // Write to a temporary name first, so that a failed run leaves no
    // half-written skin that the build would take as up to date.
    const std::string output = argv[2];
    const std::string temporary = output + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "skinc: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::remove(output.c_str());
        if (std::rename(temporary.c_str(), output.c_str()) != 0) {
            std::fprintf(stderr, "skinc: cannot write %s\n", output.c_str());
            return 1;
        }
    }
    return 0;
}
