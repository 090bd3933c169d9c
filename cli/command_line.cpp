#include "cli/command_line.h"

#include <string_view>
#include <utility>

#include "program_version.h"

namespace morvane {

namespace {

std::string quoted(std::string_view text) {
    std::string out(1, '\'');
    out.append(text);
    out += '\'';
    return out;
}

ParsedCommandLine usageError(std::string message) { return {{}, std::move(message)}; }

}  // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments) {
    CommandLine line;
    bool checkGiven = false;
    bool utf8Given = false;
    bool optionsEnded = false;
    std::vector<std::string> positional;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::help;
            return {line, {}};
        } else if (argument == "--version") {
            line.action = CommandLine::Action::version;
            return {line, {}};
        } else if (argument == "--check") {
            checkGiven = true;
        } else if (argument == "--utf8") {
            utf8Given = true;
        } else if (argument == "-o" || argument == "--output" || argument.starts_with("--output=") ||
                   (argument.starts_with("-o") && !argument.starts_with("--"))) {
            std::string folder;
            if (argument == "-o" || argument == "--output") {
                if (i + 1 == arguments.size()) return usageError("option " + argument + " needs a folder");
                folder = arguments[++i];
            } else {
                folder = argument.substr(argument.starts_with("--output=") ? 9 : 2);
            }
            if (folder.empty()) return usageError("option " + argument + " needs a folder");
            if (line.outputFolder) return usageError("only one output folder can be given");
            line.outputFolder = folder;
        } else {
            return usageError("unknown option " + quoted(argument));
        }
    }

    if (positional.empty()) return usageError("no mode given: manual or auto");
    const std::string& mode = positional.front();
    if (mode == "manual") line.mode = ConversionMode::manual;
    else if (mode == "auto") line.mode = ConversionMode::autoScore;
    else return usageError("unknown mode " + quoted(mode) + ": manual or auto");
    line.files.assign(positional.begin() + 1, positional.end());

    if (checkGiven) {
        line.action = CommandLine::Action::check;
        if (line.outputFolder) return usageError("--check writes no files and takes no -o");
        if (utf8Given) return usageError("--check writes no score and takes no --utf8");
    }
    if (utf8Given) line.encoding = OutputEncoding::utf8;
    if (line.outputFolder) {
        if (line.files.empty()) return usageError("-o needs files: standard input has no file name");
        for (const std::string& file : line.files) {
            if (file == "-") return usageError("-o needs files: standard input has no file name");
        }
    }
    return {line, {}};
}

std::string helpText() {
    return R"(Usage: morvane-convert manual|auto [OPTION]... [FILE]...
Converts numbered scores the way the Morvane window does.
  manual  the keys to press by hand (the window's manual score)
  auto    the script for the auto-player (the window's auto score)

Each FILE is read as the window imports a file: UTF-8 or UTF-16 with a byte
order mark, UTF-8 without one when a score can hold all of it, GBK otherwise.
With no FILE, or for "-", standard input is read.  The results go to
standard output one after the other, in GBK, as the window puts them on the
clipboard.

  -o, --output=DIR  write one file per FILE into the folder DIR, under the
                    FILE's own name; a file of that name is replaced,
                    but never one of the inputs
      --utf8        write UTF-8 instead of GBK
      --check       write no score, only a list on standard output of each
                    run of characters that the conversion passes through
                    unchanged and that is not layout (blanks, line breaks,
                    bar lines, dashes, brackets; in auto also the notes 0-7,
                    "+", "," and ";"), as FILE:LINE:COLUMN: "TEXT" in UTF-8,
                    columns counted in characters; no -o or --utf8 with it
  -h, --help        show this help and stop
      --version     show the version and stop

Every input is read and converted before anything is written: when one cannot
be read, or a file cannot be written, nothing is written.
Exit status: 0 done (--check: nothing found), 1 --check found characters,
2 bad usage, or an input that cannot be read or an output that cannot be
written.
)";
}

std::string versionText() { return std::string(kConverterName) + " " + programVersion + "\n"; }

std::string usageHint() { return "Try '" + std::string(kConverterName) + " --help' for more information.\n"; }

}  // namespace morvane
