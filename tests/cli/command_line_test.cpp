#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

using namespace morvane;

namespace {

using Action = CommandLine::Action;
using Arguments = std::vector<std::string>;

struct GoodCase {
    Arguments arguments;
    Action action;
    ConversionMode mode;
    OutputEncoding encoding;
    std::optional<std::string> outputFolder;
    Arguments files;
};

TEST(CommandLine, ReadsWhatItIsAskedToDo) {
    using M = ConversionMode;
    using E = OutputEncoding;
    const GoodCase cases[] = {
        {{"manual"}, Action::convert, M::manual, E::gbk, {}, {}},
        {{"auto"}, Action::convert, M::autoScore, E::gbk, {}, {}},
        {{"manual", "a.txt", "b.txt"}, Action::convert, M::manual, E::gbk, {}, {"a.txt", "b.txt"}},
        {{"auto", "-"}, Action::convert, M::autoScore, E::gbk, {}, {"-"}},
        {{"manual", "--utf8", "a.txt"}, Action::convert, M::manual, E::utf8, {}, {"a.txt"}},
        // Options stand anywhere, in every spelling of -o
        {{"--utf8", "auto", "a.txt", "-o", "out"}, Action::convert, M::autoScore, E::utf8, "out", {"a.txt"}},
        {{"manual", "-oout", "a.txt"}, Action::convert, M::manual, E::gbk, "out", {"a.txt"}},
        {{"manual", "--output", "out", "a.txt"}, Action::convert, M::manual, E::gbk, "out", {"a.txt"}},
        {{"manual", "--output=out", "a.txt"}, Action::convert, M::manual, E::gbk, "out", {"a.txt"}},
        {{"manual", "-o", "-dash", "a.txt"}, Action::convert, M::manual, E::gbk, "-dash", {"a.txt"}},
        // After "--" everything is a file, also what looks like an option
        {{"manual", "--", "--utf8", "-o"}, Action::convert, M::manual, E::gbk, {}, {"--utf8", "-o"}},
        {{"--", "manual", "a.txt"}, Action::convert, M::manual, E::gbk, {}, {"a.txt"}},
        {{"manual", "--check"}, Action::check, M::manual, E::gbk, {}, {}},
        {{"--check", "auto", "a.txt", "b.txt"}, Action::check, M::autoScore, E::gbk, {}, {"a.txt", "b.txt"}},
        // --help and --version win where they stand
        {{"--help"}, Action::help, M::manual, E::gbk, {}, {}},
        {{"-h"}, Action::help, M::manual, E::gbk, {}, {}},
        {{"manual", "-o", "out", "--help", "--bogus"}, Action::help, M::manual, E::gbk, {}, {}},
        {{"--version"}, Action::version, M::manual, E::gbk, {}, {}},
        {{"nonsense", "--version"}, Action::version, M::manual, E::gbk, {}, {}},
    };
    for (const GoodCase& c : cases) {
        std::string shown;
        for (const auto& a : c.arguments) shown += a + " ";
        SCOPED_TRACE(shown);
        const ParsedCommandLine parsed = parseCommandLine(c.arguments);
        ASSERT_EQ(parsed.usageError, "");
        EXPECT_EQ(parsed.commandLine.action, c.action);
        if (c.action == Action::help || c.action == Action::version) continue;
        EXPECT_EQ(parsed.commandLine.mode, c.mode);
        EXPECT_EQ(parsed.commandLine.encoding, c.encoding);
        EXPECT_EQ(parsed.commandLine.outputFolder, c.outputFolder);
        EXPECT_EQ(parsed.commandLine.files, c.files);
    }
}

struct BadCase {
    Arguments arguments;
    const char* says;  // part of the one-line message
};

TEST(CommandLine, SaysWhatIsWrongWithABadOne) {
    const BadCase cases[] = {
        {{}, "no mode given"},
        {{"a.txt"}, "unknown mode 'a.txt'"},
        {{"Manual"}, "unknown mode 'Manual'"},
        {{"--utf8"}, "no mode given"},
        {{"manual", "--bogus"}, "unknown option '--bogus'"},
        {{"manual", "-x"}, "unknown option '-x'"},
        {{"auto", "a.txt", "--bogus"}, "unknown option '--bogus'"},
        {{"manual", "--utf-8"}, "unknown option '--utf-8'"},
        {{"manual", "--output"}, "needs a folder"},
        {{"manual", "-o"}, "needs a folder"},
        {{"manual", "--output=", "a.txt"}, "needs a folder"},
        {{"manual", "-o", "out"}, "standard input has no file name"},
        {{"manual", "-o", "out", "a.txt", "-"}, "standard input has no file name"},
        {{"manual", "-o", "a", "-o", "b", "x.txt"}, "only one output folder"},
        {{"manual", "--check", "-o", "out", "a.txt"}, "--check"},
        {{"manual", "--check", "--utf8"}, "--check"},
    };
    for (const BadCase& c : cases) {
        std::string shown;
        for (const auto& a : c.arguments) shown += a + " ";
        SCOPED_TRACE(shown);
        const std::string error = parseCommandLine(c.arguments).usageError;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

TEST(CommandLine, VersionIsTheProgramsOwn) { EXPECT_EQ(versionText(), "morvane-convert 4\n"); }

TEST(CommandLine, HelpNamesEveryOptionAndTheExitStatuses) {
    const std::string help = helpText();
    EXPECT_TRUE(help.starts_with("Usage: morvane-convert manual|auto [OPTION]... [FILE]...\n"));
    for (const char* part : {"-o, --output=DIR", "--utf8", "--check", "--help", "--version", "FILE:LINE:COLUMN",
                             "Exit status: 0", "1 --check found", "2 bad usage"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(usageHint(), "Try 'morvane-convert --help' for more information.\n");
}

}  // namespace
