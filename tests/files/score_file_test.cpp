#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/byte_data.h"
#include "files/score_file.h"

using namespace morvane;

namespace {

using namespace std::string_literals;

TEST(ByteData, HoldsEveryByteValueWithItsLength) {
    const ByteData data("a\0b\0"s);
    EXPECT_EQ(data.size(), 4u);
    EXPECT_FALSE(data.empty());
    EXPECT_EQ(data.bytes(), "a\0b\0"s);
    EXPECT_TRUE(ByteData().empty());
    EXPECT_EQ(ByteData("\xFF\x00", 2).size(), 2u);
}

TEST(ByteData, TextToBytesHasNoTerminator) {
    EXPECT_EQ(textToBytes("曲谱").bytes(), "\xC7\xFA\xC6\xD7");
    EXPECT_TRUE(textToBytes(GbkText()).empty());
}

TEST(ByteData, BytesToTextStopsAtTheFirstZeroByte) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"ab\0cd"s, "ab"},
        {"\0abc"s, ""},
        {"abc\0"s, "abc"},
        {"\xC7\xFA\0\xC6\xD7"s, "\xC7\xFA"},
        // A UTF-16 file shows only what stands before its first zero byte.
        {"a\0b\0"s, "a"},
    };
    for (const auto& c : cases) EXPECT_EQ(bytesToText(ByteData(c.bytes)).bytes(), c.text) << c.bytes;
}

TEST(ScoreFile, HeaderFormIsTheLabelTheNameTwoLineEndsAndTheBody) {
    const GbkText file = composeScoreFile(ScoreFileForm::withHeader, "abc", "1 2");
    EXPECT_EQ(file.bytes(), "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA"
                            "abc\r\n\r\n1 2");
    EXPECT_EQ(textToBytes(file).size(), 20u);
    EXPECT_EQ(scoreHeaderLabel().bytes(), "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA");
}

TEST(ScoreFile, NameAndBodyAreWrittenExactlyAsTyped) {
    EXPECT_EQ(composeScoreFile(ScoreFileForm::withHeader, "  a b  ", "1\r\n2 ").bytes(),
              "曲谱名称：  a b  \r\n\r\n1\r\n2 ");
    EXPECT_EQ(composeScoreFile(ScoreFileForm::withHeader, "", "").bytes(), "曲谱名称：\r\n\r\n");
}

TEST(ScoreFile, BareFormIsTheBodyAlone) {
    EXPECT_EQ(composeScoreFile(ScoreFileForm::bare, "abc", "5,3;[0.5];").bytes(), "5,3;[0.5];");
    EXPECT_EQ(composeScoreFile(ScoreFileForm::bare, "abc", "").bytes(), "");
}

TEST(ScoreFile, ProposedNamesArePrefixAndScoreName) {
    EXPECT_EQ(proposedFileName("手动数谱-", "abc").bytes(), "手动数谱-abc");
    EXPECT_EQ(proposedFileName("自动曲谱-", " x ").bytes(), "自动曲谱- x ");
    EXPECT_EQ(proposedFileName("手动曲谱-", "").bytes(), "手动曲谱-");
}

TEST(ScoreSaveCommands, TableHoldsTheFourCommands) {
    struct Row {
        ScoreSaveCommand command;
        const char* menuItem;
        ScoreFileForm form;
        ScoreBox nameBox;
        ScoreBodySource body;
        ScoreBox testedBox;
        const char* prefix;
        const char* emptyMessage;
        const char* emptyTitle;
        std::vector<ScoreBox> cleared;
    };
    using B = ScoreBox;
    const Row rows[] = {
        {ScoreSaveCommand::manualNumberedScore, "保存手动数谱", ScoreFileForm::withHeader, B::box3,
         ScoreBodySource::box1, B::box1, "手动数谱-", "没有曲谱怎么保存啊？", "出错啦", {B::box1, B::box2, B::box3}},
        {ScoreSaveCommand::manualScore, "保存手动曲谱", ScoreFileForm::withHeader, B::box3,
         ScoreBodySource::lastManualScore, B::box2, "手动曲谱-", "没有曲谱怎么保存啊？", "出错啦",
         {B::box1, B::box2, B::box3}},
        {ScoreSaveCommand::autoNumberedScore, "保存自动数谱", ScoreFileForm::withHeader, B::box7,
         ScoreBodySource::box4, B::box4, "自动数谱-", "没有曲谱怎么保存啊？", "出错啦",
         {B::box4, B::box5, B::box6, B::box7}},
        {ScoreSaveCommand::autoScore, "保存自动曲谱", ScoreFileForm::bare, B::box7, ScoreBodySource::autoSaveText,
         B::box6, "自动曲谱-", "没有内容我保存不了啊！亲", "不带这么坑我的！", {B::box4, B::box5, B::box6, B::box7}},
    };
    for (const auto& row : rows) {
        const auto& info = scoreSaveCommand(row.command);
        SCOPED_TRACE(row.menuItem);
        EXPECT_EQ(info.command, row.command);
        EXPECT_STREQ(info.menuItem, row.menuItem);
        EXPECT_EQ(info.form, row.form);
        EXPECT_EQ(info.nameBox, row.nameBox);
        EXPECT_EQ(info.body, row.body);
        EXPECT_EQ(info.testedBox, row.testedBox);
        EXPECT_STREQ(info.namePrefix, row.prefix);
        EXPECT_STREQ(info.emptyMessage, row.emptyMessage);
        EXPECT_STREQ(info.emptyTitle, row.emptyTitle);
        EXPECT_EQ(std::vector<ScoreBox>(info.clearedBoxes.begin(), info.clearedBoxes.end()), row.cleared);
    }
    EXPECT_STREQ(kNoScoreNameMessage, "请先输入曲谱名称");
    EXPECT_STREQ(kNoScoreNameTitle, "出错啦");
    EXPECT_STREQ(kAutoScoreCopiedMessage, "内容已复制，可发给QQ、YY等好友使用！");
}

// The save example: name abc and numbered score "1 2" on the manual tab.
TEST(ScoreSaveCommands, ManualNumberedScoreExample) {
    const auto& info = scoreSaveCommand(ScoreSaveCommand::manualNumberedScore);
    EXPECT_EQ(proposedFileName(info.namePrefix, "abc").bytes(), "手动数谱-abc");
    const ByteData file = textToBytes(composeScoreFile(info.form, "abc", "1 2"));
    EXPECT_EQ(file.size(), 20u);
    EXPECT_EQ(file.bytes().substr(0, 10), "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA");
    EXPECT_EQ(file.bytes().substr(10), "abc\r\n\r\n1 2");
}

}  // namespace
