// pad_image: brings a file to an exact size by appending zero bytes.
//   pad_image FILE SIZE
// The program carries SkinH_EL.dll as an image of fixed size; the loader
// ignores bytes after the last section, so zeros there change nothing.
// Fails when the file is already larger than SIZE.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pad_image FILE SIZE\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long long wanted = std::strtoull(argv[2], &end, 10);
    if (!end || *end != '\0') {
        std::fprintf(stderr, "pad_image: bad size %s\n", argv[2]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    if (!in) {
        std::fprintf(stderr, "pad_image: cannot read %s\n", argv[1]);
        return 1;
    }
    const auto size = static_cast<unsigned long long>(in.tellg());
    in.close();
    if (size > wanted) {
        std::fprintf(stderr, "pad_image: %s has %llu bytes, more than the %llu it may have\n", argv[1], size, wanted);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::app);
    const std::vector<char> zeros(static_cast<std::size_t>(wanted - size), 0);
    out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "pad_image: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
