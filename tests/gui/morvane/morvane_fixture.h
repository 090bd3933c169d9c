// What every Morvane GUI test starts from: a fresh Morvane.exe with its main
// window up, and its controls by their names.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/command_ids.h"
#include "app/main_window_controls.h"
#include "harness/harness.h"

namespace morvane::gui {

inline constexpr wchar_t kMainWindowClass[] = L"MorvaneMainWindow";
inline constexpr wchar_t kMainWindowTitle[] = L"Morvane   by:Lestrio     支持手动曲谱转换，自动演奏器曲谱转换。";

// GBK bytes of a text, as the program keeps and writes them.
std::string gbk(std::wstring_view text);

class MorvaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { program_.reset(); }

    // Starts the program (SetUp does this with no working directory).
    void start(const std::wstring& workingDirectory = {});

    DWORD pid() const { return program_->pid(); }
    Program& program() { return *program_; }
    HWND mainWindow() const { return main_; }
    HWND control(MainControl id) const { return findControl(main_, static_cast<int>(id)); }

    // Replaces the text of an edit box by typing, as a person would.
    void typeInto(MainControl box, std::wstring_view text);
    // Clicks a tab of 选择夹1 (0 or 1) and waits until its page shows.
    void showPage(int page);
    int currentPage() const;

    std::unique_ptr<Program> program_;
    HWND main_ = nullptr;
};

}  // namespace morvane::gui
