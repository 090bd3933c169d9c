#include "files/score_file.h"

namespace morvane {

GbkText scoreHeaderLabel() { return "曲谱名称："; }

GbkText composeScoreFile(ScoreFileForm form, const GbkText& name, const GbkText& body) {
    if (form == ScoreFileForm::bare) return body;
    return concatTexts(scoreHeaderLabel(), name, "\r\n\r\n", body);
}

GbkText proposedFileName(const GbkText& prefix, const GbkText& name) { return concatTexts(prefix, name); }

const char* const kNoScoreNameMessage = "请先输入曲谱名称";
const char* const kNoScoreNameTitle = "出错啦";
const char* const kAutoScoreCopiedMessage = "内容已复制，可发给QQ、YY等好友使用！";

namespace {

constexpr ScoreBox kManualBoxes[] = {ScoreBox::box1, ScoreBox::box2, ScoreBox::box3};
constexpr ScoreBox kAutoBoxes[] = {ScoreBox::box4, ScoreBox::box5, ScoreBox::box6, ScoreBox::box7};

const char* const kNoScoreMessage = "没有曲谱怎么保存啊？";
const char* const kNoContentMessage = "没有内容我保存不了啊！亲";
const char* const kNoContentTitle = "不带这么坑我的！";

}  // namespace

const std::array<ScoreSaveCommandInfo, 4> kScoreSaveCommands = {{
    {ScoreSaveCommand::manualNumberedScore, "保存手动数谱", ScoreFileForm::withHeader, ScoreBox::box3,
     ScoreBodySource::box1, ScoreBox::box1, "手动数谱-", kNoScoreMessage, kNoScoreNameTitle, kManualBoxes},
    {ScoreSaveCommand::manualScore, "保存手动曲谱", ScoreFileForm::withHeader, ScoreBox::box3,
     ScoreBodySource::lastManualScore, ScoreBox::box2, "手动曲谱-", kNoScoreMessage, kNoScoreNameTitle, kManualBoxes},
    {ScoreSaveCommand::autoNumberedScore, "保存自动数谱", ScoreFileForm::withHeader, ScoreBox::box7,
     ScoreBodySource::box4, ScoreBox::box4, "自动数谱-", kNoScoreMessage, kNoScoreNameTitle, kAutoBoxes},
    {ScoreSaveCommand::autoScore, "保存自动曲谱", ScoreFileForm::bare, ScoreBox::box7,
     ScoreBodySource::autoSaveText, ScoreBox::box6, "自动曲谱-", kNoContentMessage, kNoContentTitle, kAutoBoxes},
}};

const ScoreSaveCommandInfo& scoreSaveCommand(ScoreSaveCommand command) {
    return kScoreSaveCommands[static_cast<std::size_t>(command)];
}

}  // namespace morvane
