// The program's one working window: two tab pages, one per conversion, the
// menu bar, the pop-up menus of the two "保存曲谱" buttons and the version.
#pragma once

#include <windows.h>

#include <vector>

#include "app/command_ids.h"
#include "app/main_window_controls.h"
#include "convert/gbk_text.h"
#include "files/file_dialog_settings.h"
#include "files/score_file.h"
#include "win32/focus_keeper.h"
#include "win32/tab_pages.h"
#include "win32/window.h"

namespace morvane {

class MainWindow : public win32::BaseWindow<MainWindow> {
public:
    ~MainWindow() override;

    // Creates the window hidden, with every control, and runs the creation
    // handler.
    bool create();
    void showCentred();

    // Called for every message taken from the queue before it is dispatched;
    // true when the message has been handled here.
    bool preTranslate(MSG& msg);

    HWND control(MainControl id) const;
    GbkText text(MainControl id) const;
    void setText(MainControl id, const GbkText& text) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Placed {
        HWND hwnd;
        const ControlRow* row;
    };

    void createControls();
    HWND createControl(const ControlRow& row, HWND tab);
    void onCreated();
    void onButtonClicked(MainControl id);
    void runCommand(Command command);
    void showSavePopup(const char* title);
    LRESULT controlColours(HDC dc, HWND control);

    void convertManualScore();
    void convertAutoScore();
    void saveScore(ScoreSaveCommand which);
    void importScore(MainControl target);
    HWND box(ScoreBox which) const;

    std::vector<Placed> controls_;
    win32::TabPages pages_;
    FileDialogSettings 通用对话框1 = scoreSaveDialogSettings();  // all four saves
    FileDialogSettings 通用对话框2 = scoreOpenDialogSettings();  // both imports
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HFONT bigFont_ = nullptr;
    HFONT bigBoldFont_ = nullptr;
    HBRUSH white_ = nullptr;
    win32::FocusKeeper focus_;
};

}  // namespace morvane
