// Where morvane-convert reads and writes besides its files: standard input,
// standard output and standard error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/score_conversion.h"

namespace morvane {

class Terminal {
public:
    virtual ~Terminal() = default;

    // All of standard input, or nothing when it cannot be read.
    virtual std::optional<std::string> readStandardInput() = 0;
    // Bytes for standard output, text in `encoding` (scores in either,
    // everything else in UTF-8); false when they could not be written.
    virtual bool writeOutput(std::string_view bytes, OutputEncoding encoding) = 0;
    // A message in UTF-8 for standard error.
    virtual void writeError(std::string_view message) = 0;
};

// The process's standard streams, byte for byte.
class StandardStreams : public Terminal {
public:
    std::optional<std::string> readStandardInput() override;
    bool writeOutput(std::string_view bytes, OutputEncoding encoding) override;
    void writeError(std::string_view message) override;
};

}  // namespace morvane
