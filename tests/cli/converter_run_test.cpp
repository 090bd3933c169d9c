#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cli/converter_run.h"
#include "cli/score_conversion.h"
#include "files/gbk_unicode.h"

using namespace morvane;

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Arguments = std::vector<std::string>;

// Literals are compiled to GBK, so every Chinese sign below is its GBK bytes.

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::string utf16(const std::u16string& s, bool bigEndian) {
    std::string out;
    for (const char16_t c : s) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

// Standard input, output and error in memory.
class MemoryTerminal : public Terminal {
public:
    std::optional<std::string> input = ""s;
    bool outputFails = false;
    std::string output;
    std::vector<OutputEncoding> outputEncodings;
    std::string errors;

    std::optional<std::string> readStandardInput() override { return input; }
    bool writeOutput(std::string_view bytes, OutputEncoding encoding) override {
        if (outputFails) return false;
        output += bytes;
        outputEncodings.push_back(encoding);
        return true;
    }
    void writeError(std::string_view message) override { errors += message; }
};

// Each test has a folder of its own for its files.
class ConverterRun : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("morvane-cli-" + std::string(info->name()) + "-" + std::to_string(std::random_device{}()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "out");
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }

    // A name in the test's folder ("/" between folders).
    fs::path fsPath(const std::string& name) const {
        return (folder_ / fs::path(std::u8string(name.begin(), name.end()))).make_preferred();
    }
    // The same path as the program gets it: UTF-8, which on Linux is the bytes.
    std::string path(const std::string& name) const {
        const std::u8string text = fsPath(name).u8string();
        return {text.begin(), text.end()};
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream file(fsPath(name), std::ios::binary | std::ios::trunc);
        file << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream file(fsPath(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // The names in the folder, "out" and its files included, sorted.
    std::vector<std::string> filesIn(const std::string& name) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fsPath(name))) {
            const std::u8string text = entry.path().filename().u8string();
            names.emplace_back(text.begin(), text.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    int run(const Arguments& arguments) { return runConverter(arguments, terminal_); }

    fs::path folder_;
    MemoryTerminal terminal_;
};

struct ConversionCase {
    const char* mode;
    std::string input;
    std::string output;
};

TEST_F(ConverterRun, ConvertsStandardInputToStandardOutput) {
    const ConversionCase cases[] = {
        {"manual", "1 2 3 0 5", "Q W E ---- T"},
        {"manual", "5 3 2 1 | z b ！ @ | 0 6 5 3", "T E W Q | A G 1 2 | ---- Y T E"},
        {"manual", "！￥……", "146"},
        {"manual", "1 2 3\r\n!@# 0\n8 9 q 譜V 小星星", "Q W E\r\n123 ----\n8 9 q 譜F 小星星"},
        {"manual", "", ""},
        {"auto", "5mx。", "5,3;[0.5];"},
        {"auto", "+5mx 3_ 2= 1mx。 -6mx一", "+5,3; 3,2; 2,1; 1,3;[0.5]; -6,3;4;"},
        {"auto", "5mx三 5mx四\r\n1MX，2mx", "5,3;6; 5,3;7;\r\n1,3;,2,3;"},
        {"auto", "5Mx 開_", "5Mx 開,2;"},
        {"auto", "", ""},
        // A text stops at a zero byte, as in the window's box.
        {"manual", "12\0" "34"s, "QW"},
        // Code page 936 lacks the pair 81 7F: the box shows "?" for it.
        {"manual", "1\x81\x7F" "2", "Q?W"},
        // "€" shifts the character rule, so "一" is found across the two
        // characters after it; the result box then shows "?" for what is
        // left of them, and that is what the window copies.
        {"auto", "\x80\xB0\xD2\xBB\xA1", "\x80?;?"},
        {"manual", "\x80\xD7V", "\x80\xD7" "F"},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        terminal_ = {};
        terminal_.input = c.input;
        EXPECT_EQ(run({c.mode}), kExitDone);
        EXPECT_EQ(terminal_.output, c.output);
        EXPECT_EQ(terminal_.errors, "");
        // "-" is standard input too.
        terminal_.output.clear();
        EXPECT_EQ(run({c.mode, "-"}), kExitDone);
        EXPECT_EQ(terminal_.output, c.output);
    }
}

// Every encoding the import takes gives the same score, written in GBK or,
// with --utf8, in UTF-8.
TEST_F(ConverterRun, ReadsEveryImportEncodingAndWritesGbkOrUtf8) {
    const std::u16string numbered = u"1 2 0 | 小星星\r\n！ 一";
    const std::string manualGbk = "Q W ---- | 小星星\r\n1 一";
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        {"GBK", "1 2 0 | 小星星\r\n！ 一"},
        {"UTF-8 without a mark", utf8(u8"1 2 0 | 小星星\r\n！ 一")},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8(u8"1 2 0 | 小星星\r\n！ 一")},
        {"UTF-16LE", "\xFF\xFE" + utf16(numbered, false)},
        {"UTF-16BE", "\xFE\xFF" + utf16(numbered, true)},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        write("in.txt", f.bytes);
        terminal_ = {};
        EXPECT_EQ(run({"manual", path("in.txt")}), kExitDone);
        EXPECT_EQ(terminal_.output, manualGbk);
        EXPECT_EQ(terminal_.outputEncodings, std::vector{OutputEncoding::gbk});
        terminal_ = {};
        EXPECT_EQ(run({"manual", "--utf8", path("in.txt")}), kExitDone);
        EXPECT_EQ(terminal_.output, utf8(u8"Q W ---- | 小星星\r\n1 一"));
        EXPECT_EQ(terminal_.outputEncodings, std::vector{OutputEncoding::utf8});
    }
    // Several files without -o: one result after the other.
    write("a.txt", "1 2");
    write("b.txt", "5mx.");
    terminal_ = {};
    EXPECT_EQ(run({"auto", path("a.txt"), path("b.txt")}), kExitDone);
    EXPECT_EQ(terminal_.output, "1 25,3;[0.5];");
}

// What the box holds and what comes out of it again: the window converts
// the text its box gives back, and copies the auto score from its box.
TEST(ScoreConversion, IsWhatTheWindowsBoxesGiveBack) {
    EXPECT_EQ(throughEditBox("1 小星星 \x80\xFF").bytes(), "1 小星星 \x80\xFF");
    EXPECT_EQ(throughEditBox("\x81\x7F").bytes(), "?");
    const GbkText odd("\x80\xB0\xD2\xBB\xA1");
    EXPECT_EQ(convertAsTheWindowDoes(ConversionMode::autoScore, odd).bytes(), "\x80?;?");
    EXPECT_EQ(importedScore(ByteData("5mx\x81\x7F"s)).bytes(), "5mx?");
    // Once through the box, a text comes back as it went in.
    std::mt19937 random(20);
    std::uniform_int_distribution<int> anyByte(1, 255), length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) bytes += static_cast<char>(anyByte(random));
        const GbkText once = throughEditBox(GbkText(bytes));
        ASSERT_EQ(throughEditBox(once), once) << testing::PrintToString(bytes);
    }
}

TEST_F(ConverterRun, CheckReportsWhatPassedThroughWithFileLineAndColumn) {
    write("a.txt", "1 2 3\r\n！￥8 9\r\n小星星");
    write("b.txt", "1 2 3 0");
    write("c.txt", utf8(u8"5Mx 3_\n０"));
    EXPECT_EQ(run({"manual", "--check", path("a.txt"), path("b.txt")}), kExitFound);
    EXPECT_EQ(terminal_.output, path("a.txt") + ":2:3: \"8\"\n" + path("a.txt") + ":2:5: \"9\"\n" + path("a.txt") +
                                    ":3:1: \"" + utf8(u8"小星星") + "\"\n");
    EXPECT_EQ(terminal_.outputEncodings, std::vector{OutputEncoding::utf8});
    EXPECT_EQ(terminal_.errors, "");

    terminal_ = {};
    EXPECT_EQ(run({"--check", "auto", path("c.txt")}), kExitFound);
    EXPECT_EQ(terminal_.output, path("c.txt") + ":1:2: \"Mx\"\n" + path("c.txt") + ":2:1: \"" + utf8(u8"０") + "\"\n");

    terminal_ = {};
    EXPECT_EQ(run({"manual", "--check", path("b.txt")}), kExitDone);
    EXPECT_EQ(terminal_.output, "");

    // Standard input by its name; quotes and controls escaped.
    terminal_ = {};
    terminal_.input = "1 \"8\" \\ \x01";
    EXPECT_EQ(run({"manual", "--check"}), kExitFound);
    EXPECT_EQ(terminal_.output, "<stdin>:1:3: \"\\\"8\\\"\"\n<stdin>:1:7: \"\\\\\"\n<stdin>:1:9: \"\\x01\"\n");
    EXPECT_EQ(filesIn("out"), std::vector<std::string>{}) << "a check writes no files";
}

TEST_F(ConverterRun, WritesOneFilePerInputUnderItsName) {
    write("a.txt", "1 2 3");
    write("b.score", "！ 小星星");
    fs::create_directories(fsPath("sub"));
    write("sub/c.txt", "\xEF\xBB\xBF" + utf8(u8"0 一"));
    write("out/b.score", "an older result, longer than the new one");
    EXPECT_EQ(run({"manual", "-o", path("out"), path("a.txt"), path("b.score"), path("sub/c.txt")}), kExitDone);
    EXPECT_EQ(terminal_.errors, "");
    EXPECT_EQ(terminal_.output, "");
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"a.txt", "b.score", "c.txt"})) << "no temporary file left";
    EXPECT_EQ(read("out/a.txt"), "Q W E");
    EXPECT_EQ(read("out/b.score"), "1 小星星");
    EXPECT_EQ(read("out/c.txt"), "---- 一");

    ASSERT_EQ(run({"auto", "--utf8", "--output=" + path("out"), path("b.score")}), kExitDone);
    EXPECT_EQ(read("out/b.score"), utf8(u8"！ 小星星"));
    EXPECT_EQ(read("a.txt"), "1 2 3") << "inputs stay as they were";
}

// One failure, and nothing is written: no result, no temporary file, and
// every file in the folder as it was.
struct FailureCase {
    const char* what;
    Arguments files;        // names in the test's folder
    const char* says;       // part of the message
    const char* namedFile;  // the file the message names, in the test's folder
};

TEST_F(ConverterRun, WritesNothingWhenOneInputOrOutputFails) {
    const FailureCase cases[] = {
        {"a missing input", {"a.txt", "missing.txt", "b.txt"}, "cannot read: no such file", "missing.txt"},
        {"a folder as input", {"a.txt", "sub"}, "cannot read: is a folder", "sub"},
        {"a target that is a folder", {"a.txt", "blocked.txt"}, "cannot write: is a folder", "out/blocked.txt"},
        {"a read-only target", {"a.txt", "readonly.txt"}, "cannot write: is read-only", "out/readonly.txt"},
        {"two inputs of one name", {"a.txt", "sub/a.txt"}, "would be written from both", "out/a.txt"},
        {"a target that is an input", {"b.txt", "out/old.txt"}, "would replace the input", "out/old.txt"},
#ifdef _WIN32
        // File names on Windows ignore case.
        {"two inputs of one name but for case", {"a.txt", "sub/A.TXT"}, "would be written from both", "out/A.TXT"},
#endif
    };
    write("a.txt", "1 2 3");
    write("b.txt", "5 6");
    write("blocked.txt", "1");
    write("readonly.txt", "1");
    fs::create_directories(fsPath("sub"));
    write("sub/a.txt", "7");
    fs::create_directories(fsPath("out/blocked.txt"));
    write("out/readonly.txt", "kept");
    fs::permissions(fsPath("out/readonly.txt"), fs::perms::owner_write | fs::perms::group_write |
                    fs::perms::others_write, fs::perm_options::remove);
    write("out/old.txt", "1 2");
    write("out/b.txt", "kept");
    write("out/a.txt", "kept");
    const auto before = filesIn("out");
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        terminal_ = {};
        Arguments arguments{"manual", "-o", path("out")};
        for (const auto& f : c.files) arguments.push_back(path(f));
        EXPECT_EQ(run(arguments), kExitTrouble);
        EXPECT_NE(terminal_.errors.find(path(c.namedFile) + ": "), std::string::npos) << terminal_.errors;
        EXPECT_NE(terminal_.errors.find(c.says), std::string::npos) << terminal_.errors;
        EXPECT_NE(terminal_.errors.find("nothing written"), std::string::npos) << terminal_.errors;
        EXPECT_EQ(terminal_.output, "");
        EXPECT_EQ(filesIn("out"), before);
        EXPECT_EQ(read("out/a.txt"), "kept");
        EXPECT_EQ(read("out/b.txt"), "kept");
        EXPECT_EQ(read("out/old.txt"), "1 2");
    }
    // Without -o as well: nothing reaches standard output.
    terminal_ = {};
    EXPECT_EQ(run({"manual", path("a.txt"), path("missing.txt")}), kExitTrouble);
    EXPECT_EQ(terminal_.output, "");
    EXPECT_EQ(terminal_.errors, "morvane-convert: " + path("missing.txt") +
                                    ": cannot read: no such file\nmorvane-convert: nothing written\n");
    terminal_ = {};
    EXPECT_EQ(run({"manual", "--check", path("a.txt"), path("missing.txt")}), kExitTrouble);
    EXPECT_EQ(terminal_.output, "");
}

TEST_F(ConverterRun, ReportsStandardStreamsThatFail) {
    terminal_.input = std::nullopt;
    EXPECT_EQ(run({"manual"}), kExitTrouble);
    EXPECT_EQ(terminal_.errors, "morvane-convert: <stdin>: cannot read\nmorvane-convert: nothing written\n");
    terminal_ = {};
    terminal_.outputFails = true;
    terminal_.input = "1";
    EXPECT_EQ(run({"manual"}), kExitTrouble);
    EXPECT_NE(terminal_.errors.find("cannot write to standard output"), std::string::npos);
    terminal_ = {};
    terminal_.outputFails = true;
    EXPECT_EQ(run({"--version"}), kExitTrouble);
}

// Bad usage: exit status 2, the reason and a hint on standard error, nothing
// else done.
TEST_F(ConverterRun, BadUsageEndsWithStatusTwoAndAHint) {
    write("a.txt", "1");
    const Arguments cases[] = {
        {},
        {"a.txt"},
        {"manual", "--bogus"},
        {"manual", "-o"},
        {"manual", "-o", path("out")},
        {"manual", "-o", path("missing-folder"), path("a.txt")},
        {"manual", "-o", path("a.txt"), path("a.txt")},
        {"manual", "--check", "-o", path("out"), path("a.txt")},
    };
    for (const Arguments& arguments : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        terminal_ = {};
        EXPECT_EQ(run(arguments), kExitTrouble);
        EXPECT_TRUE(terminal_.errors.starts_with("morvane-convert: ")) << terminal_.errors;
        EXPECT_TRUE(terminal_.errors.ends_with("\nTry 'morvane-convert --help' for more information.\n"))
            << terminal_.errors;
        EXPECT_EQ(std::count(terminal_.errors.begin(), terminal_.errors.end(), '\n'), 2) << terminal_.errors;
        EXPECT_EQ(terminal_.output, "");
    }
    EXPECT_EQ(filesIn("out"), std::vector<std::string>{});
    EXPECT_EQ(read("a.txt"), "1");
}

TEST_F(ConverterRun, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(run({"--version"}), kExitDone);
    EXPECT_EQ(terminal_.output, "morvane-convert 4\n");
    terminal_ = {};
    EXPECT_EQ(run({"manual", "--help"}), kExitDone);
    EXPECT_TRUE(terminal_.output.starts_with("Usage: morvane-convert manual|auto")) << terminal_.output;
    EXPECT_EQ(terminal_.errors, "");
}

// File names in any language: on Windows they are wide paths.
TEST_F(ConverterRun, TakesChineseFileNames) {
    const std::string name = utf8(u8"小星星.txt");
    write(name, "1 2 3");
    EXPECT_EQ(run({"manual", "-o", path("out"), path(name)}), kExitDone) << terminal_.errors;
    EXPECT_EQ(read("out/" + name), "Q W E");
    terminal_ = {};
    EXPECT_EQ(run({"manual", path(utf8(u8"没有.txt"))}), kExitTrouble);
    EXPECT_NE(terminal_.errors.find(utf8(u8"没有.txt: cannot read")), std::string::npos) << terminal_.errors;
}

}  // namespace
