#include "cli/converter_run.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/passed_through.h"
#include "cli/score_conversion.h"
#include "files/gbk_unicode.h"

namespace morvane {

namespace {

namespace fs = std::filesystem;

constexpr const char kStandardInputName[] = "<stdin>";

// An argument is UTF-8 on Windows, where the path then is wide; elsewhere a
// path is its bytes and so is the argument.
fs::path pathOf(const std::string& argument) { return fs::path(std::u8string(argument.begin(), argument.end())); }

std::string shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string reasonOf(const std::error_code& error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory) return "no such file";
    if (condition == std::errc::permission_denied) return "permission denied";
    if (condition == std::errc::is_a_directory) return "is a folder";
    if (condition.category() == std::generic_category()) return condition.message();
    return "error " + std::to_string(error.value());
}

// Whether two paths in the output folder name one file: the same name, and
// on Windows, whose file names ignore case, also names that differ only in
// the case of their letters A to Z.
bool sameTarget(const fs::path& a, const fs::path& b) {
    auto x = a.lexically_normal().native();
    auto y = b.lexically_normal().native();
#ifdef _WIN32
    for (auto* name : {&x, &y}) {
        for (auto& c : *name)
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
#endif
    return x == y;
}

int badUsage(Terminal& terminal, const std::string& message) {
    terminal.writeError(std::string(kConverterName) + ": " + message + "\n" + usageHint());
    return kExitTrouble;
}

struct Input {
    std::string name;                // as the messages and the report show it
    std::optional<fs::path> path;    // none for standard input
    std::string converted;           // the bytes to write
    std::vector<PassedThrough> found;
};

class Run {
public:
    Run(const CommandLine& line, Terminal& terminal) : line_(line), terminal_(terminal) {}

    int operator()();

private:
    void complain(const std::string& name, const std::string& message) {
        terminal_.writeError(std::string(kConverterName) + ": " + name + ": " + message + "\n");
    }
    int nothingWritten() {
        terminal_.writeError(std::string(kConverterName) + ": nothing written\n");
        return kExitTrouble;
    }

    std::optional<std::string> read(const Input& input);
    int writeToStandardOutput();
    int writeCheckReport();
    int writeFiles(const fs::path& folder);

    const CommandLine& line_;
    Terminal& terminal_;
    std::vector<Input> inputs_;
};

std::optional<std::string> Run::read(const Input& input) {
    if (!input.path) {
        auto bytes = terminal_.readStandardInput();
        if (!bytes) complain(input.name, "cannot read");
        return bytes;
    }
    std::error_code statusError;
    const fs::file_status status = fs::status(*input.path, statusError);
    if (statusError && statusError != std::errc::no_such_file_or_directory) {
        complain(input.name, "cannot read: " + reasonOf(statusError));
        return std::nullopt;
    }
    if (!fs::exists(status)) {
        complain(input.name, "cannot read: no such file");
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        complain(input.name, "cannot read: is a folder");
        return std::nullopt;
    }
    std::ifstream file(*input.path, std::ios::binary);
    if (!file) {
        complain(input.name, "cannot read: cannot be opened");
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        complain(input.name, "cannot read: read error");
        return std::nullopt;
    }
    return bytes;
}

int Run::operator()() {
    std::optional<fs::path> folder;
    if (line_.outputFolder) {
        folder = pathOf(*line_.outputFolder);
        std::error_code ignored;
        if (!fs::is_directory(*folder, ignored)) return badUsage(terminal_, "no folder '" + *line_.outputFolder + "' for -o");
    }

    if (line_.files.empty()) inputs_.push_back({kStandardInputName, std::nullopt, {}, {}});
    for (const std::string& file : line_.files) {
        if (file == "-") inputs_.push_back({kStandardInputName, std::nullopt, {}, {}});
        else inputs_.push_back({file, pathOf(file), {}, {}});
    }

    bool failed = false;
    for (Input& input : inputs_) {
        std::optional<std::string> bytes = read(input);
        if (!bytes) {
            failed = true;
            continue;
        }
        const GbkText text = importedScore(ByteData(std::move(*bytes)));
        if (line_.action == CommandLine::Action::check) {
            input.found = findPassedThrough(line_.mode, text);
        } else {
            input.converted = encodeScore(convertAsTheWindowDoes(line_.mode, text), line_.encoding);
        }
    }
    if (failed) return nothingWritten();

    if (line_.action == CommandLine::Action::check) return writeCheckReport();
    if (folder) return writeFiles(*folder);
    return writeToStandardOutput();
}

int Run::writeToStandardOutput() {
    for (const Input& input : inputs_) {
        if (!terminal_.writeOutput(input.converted, line_.encoding)) {
            complain(input.name, "cannot write to standard output");
            return kExitTrouble;
        }
    }
    return kExitDone;
}

// A character the report cannot show as it is gets an escape, so that every
// finding stays on its own line and its quotes stay unambiguous.
std::string reportedText(const GbkText& text) {
    std::string shownText;
    for (const char c : gbkToUtf8(text.view())) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            shownText += '\\';
            shownText += c;
        } else if (b < 0x20 || b == 0x7F) {
            constexpr char hex[] = "0123456789ABCDEF";
            shownText += "\\x";
            shownText += hex[b >> 4];
            shownText += hex[b & 0xF];
        } else {
            shownText += c;
        }
    }
    return shownText;
}

int Run::writeCheckReport() {
    std::string report;
    bool any = false;
    for (const Input& input : inputs_) {
        for (const PassedThrough& p : input.found) {
            report += input.name + ":" + std::to_string(p.line) + ":" + std::to_string(p.column) + ": \"" +
                      reportedText(p.text) + "\"\n";
            any = true;
        }
    }
    if (!terminal_.writeOutput(report, OutputEncoding::utf8)) {
        terminal_.writeError(std::string(kConverterName) + ": cannot write to standard output\n");
        return kExitTrouble;
    }
    return any ? kExitFound : kExitDone;
}

std::string temporarySuffix() {
    static std::mt19937_64 random{std::random_device{}()};
    constexpr char hex[] = "0123456789abcdef";
    std::string suffix;
    for (std::uint64_t value = random(); suffix.size() < 12; value >>= 4) suffix += hex[value & 0xF];
    return suffix;
}

int Run::writeFiles(const fs::path& folder) {
    struct Planned {
        const Input* input;
        fs::path target;
        fs::path temporary;
    };
    std::vector<Planned> planned;
    bool failed = false;
    for (const Input& input : inputs_) {
        const fs::path target = folder / input.path->filename();
        const std::string name = shown(target);
        std::error_code error;
        for (const Planned& other : planned) {
            if (sameTarget(other.target, target)) {
                complain(name, "would be written from both " + other.input->name + " and " + input.name);
                failed = true;
            }
        }
        const fs::file_status status = fs::status(target, error);
        if (!fs::exists(status)) {
            planned.push_back({&input, target, {}});
            continue;
        }
        if (fs::is_directory(status)) {
            complain(name, "cannot write: is a folder");
            failed = true;
        } else if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
            complain(name, "cannot write: is read-only");
            failed = true;
        }
        for (const Input& source : inputs_) {
            if (fs::equivalent(*source.path, target, error)) {
                complain(name, "would replace the input " + source.name);
                failed = true;
            }
        }
        planned.push_back({&input, target, {}});
    }
    if (failed) return nothingWritten();

    // Every file complete beside its target first, so that a failure
    // leaves every target as it was.
    const auto removeTemporaries = [&] {
        std::error_code ignored;
        for (const Planned& p : planned)
            if (!p.temporary.empty()) fs::remove(p.temporary, ignored);
    };
    for (Planned& p : planned) {
        std::error_code error;
        fs::path temporary;
        do {
            // Hidden on Linux, beside its target so that the rename stays
            // within one file system.
            std::string name(1, '.');
            name += shown(p.target.filename());
            name += '.';
            name += temporarySuffix();
            name += ".tmp";
            temporary = folder / pathOf(name);
        } while (fs::exists(temporary, error));
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file) p.temporary = temporary;
        file.write(p.input->converted.data(), static_cast<std::streamsize>(p.input->converted.size()));
        file.close();
        if (!file) {
            complain(shown(p.target), p.temporary.empty() ? "cannot write: cannot create a file in its folder"
                                                          : "cannot write: write error");
            removeTemporaries();
            return nothingWritten();
        }
        // A replaced file keeps its permissions.
        const fs::file_status status = fs::status(p.target, error);
        if (fs::exists(status)) fs::permissions(p.temporary, status.permissions(), error);
    }

    std::vector<std::string> replaced;
    for (Planned& p : planned) {
        std::error_code error;
        fs::rename(p.temporary, p.target, error);
        if (error) {
            complain(shown(p.target), "cannot write: " + reasonOf(error));
            removeTemporaries();
            if (replaced.empty()) return nothingWritten();
            std::string list;
            for (const std::string& name : replaced) list += " " + name;
            terminal_.writeError(std::string(kConverterName) + ": written before that:" + list + "\n");
            return kExitTrouble;
        }
        p.temporary.clear();
        replaced.push_back(shown(p.target));
    }
    return kExitDone;
}

}  // namespace

int runConverter(std::span<const std::string> arguments, Terminal& terminal) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.usageError.empty()) return badUsage(terminal, parsed.usageError);
    const CommandLine& line = parsed.commandLine;
    switch (line.action) {
    case CommandLine::Action::help:
        return terminal.writeOutput(helpText(), OutputEncoding::utf8) ? kExitDone : kExitTrouble;
    case CommandLine::Action::version:
        return terminal.writeOutput(versionText(), OutputEncoding::utf8) ? kExitDone : kExitTrouble;
    case CommandLine::Action::convert:
    case CommandLine::Action::check:
        break;
    }
    return Run(line, terminal)();
}

}  // namespace morvane
