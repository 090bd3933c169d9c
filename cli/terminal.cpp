#include "cli/terminal.h"

#include <cstdio>

namespace morvane {

std::optional<std::string> StandardStreams::readStandardInput() {
    std::string bytes;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), stdin)) > 0) bytes.append(buffer, got);
    if (std::ferror(stdin)) return std::nullopt;
    return bytes;
}

bool StandardStreams::writeOutput(std::string_view bytes, OutputEncoding) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

void StandardStreams::writeError(std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fflush(stderr);
}

}  // namespace morvane
