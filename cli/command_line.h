// The command line of morvane-convert: what it is asked to do, its help and
// its version.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/score_conversion.h"

namespace morvane {

inline constexpr const char kConverterName[] = "morvane-convert";

struct CommandLine {
    enum class Action { convert, check, help, version };

    Action action = Action::convert;
    ConversionMode mode = ConversionMode::manual;
    OutputEncoding encoding = OutputEncoding::gbk;
    // The folder of -o as given; none: the results go to standard output.
    std::optional<std::string> outputFolder;
    // As given (bytes on Linux, UTF-8 on Windows); "-" is standard input.
    // Empty: standard input.
    std::vector<std::string> files;
};

struct ParsedCommandLine {
    CommandLine commandLine;
    // Empty when the command line is good; else one line saying what is wrong.
    std::string usageError;
};

// The arguments after the program's name.  --help and --version take effect
// where they stand, whatever follows.
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments);

// What --help prints.
std::string helpText();
// What --version prints: the name and the program's version.
std::string versionText();
// The line that follows a usage error.
std::string usageHint();

}  // namespace morvane
