#include <gtest/gtest.h>

#include <string>

#include "services/version_page.h"

using morvane::GbkText;

namespace {

// A literal with its zero bytes kept.
template <std::size_t N>
std::string withZeros(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

struct PageCase {
    std::string page;
    const char* between;  // what textBetween gives for the markers
    bool newer;           // whether version "4" should update
};

TEST(VersionPage, ReadsTheVersionBetweenTheMarkers) {
    const PageCase cases[] = {
        {"版本开始5版本结束", "5", true},
        {"版本开始4版本结束", "4", false},
        {"版本开始3版本结束", "3", false},
        {"版本开始4.00000001版本结束", "4.00000001", false},  // inside the tolerance
        {"版本开始4.1版本结束", "4.1", true},
        {"版本开始版本结束", "", false},
        {"版本结束5版本开始", "", false},
        {"版本开始版本开始5版本结束", "版本开始5", false},
        {withZeros("x\0版本开始5版本结束"), "", false},  // the page ends at a zero byte
        {"版本开始 ５版本结束", " ５", true},
        {"版本开始<b>5</b>版本结束", "<b>5</b>", false},
        {"<html><p>最新版本开始6.5版本结束</p></html>", "6.5", true},
        {"版本开始5", "", false},
        {"", "", false},
        {"version 5", "", false},
    };
    for (const auto& c : cases) {
        const GbkText page(c.page);
        EXPECT_EQ(morvane::textBetween(page, morvane::kVersionStartMarker, morvane::kVersionEndMarker, 0, false)
                      .bytes(),
                  std::string(c.between))
            << c.page;
        EXPECT_EQ(morvane::offersNewerVersion(page, "4"), c.newer) << c.page;
    }
}

TEST(TextBetween, QuoteConventionAndCase) {
    EXPECT_EQ(morvane::textBetween("a \"q\" b \"r\"", "#引号", "#引号", 0, false).bytes(), "q");
    EXPECT_EQ(morvane::textBetween("only \"one", "#引号", "#引号", 0, false).bytes(), "");
    EXPECT_EQ(morvane::textBetween("<V>5</V>", "<v>", "</v>", 1, false).bytes(), "5");
    EXPECT_EQ(morvane::textBetween("<V>5</V>", "<v>", "</v>", 1, true).bytes(), "");
    EXPECT_EQ(morvane::textBetween("[a][b]", "[", "]", 4, true).bytes(), "b");
}

}  // namespace
