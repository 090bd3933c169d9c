// Score files: what the four save commands write and which name the save
// dialog proposes.  A score file is plain GBK with no encoding mark, no
// terminating byte and no line break after its last text, in one of two
// forms:
//   - with a header (numbered scores and the manual score): "曲谱名称：",
//     the score name exactly as typed, CR LF CR LF, then the body;
//   - bare (the auto score): the body alone.
#pragma once

#include <array>
#include <span>

#include "convert/gbk_text.h"

namespace morvane {

enum class ScoreFileForm { withHeader, bare };

// "曲谱名称：", C7 FA C6 D7 C3 FB B3 C6 A3 BA.
GbkText scoreHeaderLabel();

// The whole file text: for withHeader concatTexts("曲谱名称：", name,
// CR LF CR LF, body), for bare the body (the name is then not written).
GbkText composeScoreFile(ScoreFileForm form, const GbkText& name, const GbkText& body);

// The name the save dialog proposes: the command's prefix and the score name.
GbkText proposedFileName(const GbkText& prefix, const GbkText& name);

// The main window's boxes that the save commands use (编辑框1 .. 编辑框7).
enum class ScoreBox { box1 = 1, box2, box3, box4, box5, box6, box7 };

// Where a save command takes the body of its file from.
enum class ScoreBodySource {
    box1,             // the text of 编辑框1
    lastManualScore,  // the shared text that the manual conversion left
    box4,             // the text of 编辑框4
    autoSaveText,     // the shared text that saveAutoScore takes from 编辑框5 (via 编辑框6)
};

enum class ScoreSaveCommand { manualNumberedScore, manualScore, autoNumberedScore, autoScore };

// One save command, as data.  Every command: compose the file text, set the
// save dialog (通用对话框1) to kind save and fileName proposedFileName(
// namePrefix, name box); if the tested box is empty show emptyMessage (error
// icon, emptyTitle), else if the name box is empty show kNoScoreNameMessage
// (error icon, kNoScoreNameTitle), else run the dialog (cancel: stop here,
// nothing cleared) and write the file; finally clear clearedBoxes.
// saveManualScore keeps the composed text in manualSaveText.  saveAutoScore
// first copies 编辑框5 into 编辑框6 and takes autoSaveText from it, and after
// the write also puts autoSaveText on the clipboard and shows
// kAutoScoreCopiedMessage (no icon, no title).
struct ScoreSaveCommandInfo {
    ScoreSaveCommand command;
    const char* menuItem;
    ScoreFileForm form;
    ScoreBox nameBox;
    ScoreBodySource body;
    ScoreBox testedBox;
    const char* namePrefix;
    const char* emptyMessage;
    const char* emptyTitle;
    std::span<const ScoreBox> clearedBoxes;
};

// In the order of ScoreSaveCommand.
extern const std::array<ScoreSaveCommandInfo, 4> kScoreSaveCommands;

const ScoreSaveCommandInfo& scoreSaveCommand(ScoreSaveCommand command);

extern const char* const kNoScoreNameMessage;      // "请先输入曲谱名称"
extern const char* const kNoScoreNameTitle;        // "出错啦"
extern const char* const kAutoScoreCopiedMessage;  // "内容已复制，可发给QQ、YY等好友使用！"

}  // namespace morvane
