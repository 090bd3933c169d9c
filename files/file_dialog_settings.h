// The settings of a file-dialog control of the main window, and the half of
// showing the dialog that needs no operating system: reading the file-type
// list and choosing the entry selected at first.
#pragma once

#include <cstddef>
#include <vector>

#include "convert/gbk_text.h"

namespace morvane {

enum class FileDialogKind { open = 0, save = 1 };

struct FileDialogSettings {
    FileDialogKind kind = FileDialogKind::open;
    GbkText title;          // caption; empty: the platform's default
    GbkText fileName;       // proposed name (empty: none); after OK the chosen file's full path
    GbkText filter;         // file-type list: label and pattern, each part ended by "|"
    int initialFilter = 0;  // 0-based entry selected at first
    GbkText initialDir;     // folder shown at first; empty: the platform's default
    GbkText defaultExt;     // added, without the point, to a typed name that has none
    bool createPrompt = false;     // ask before a file that does not exist is chosen
    bool fileMustExist = false;    // only existing files (open dialogs; a save dialog ignores it)
    bool overwritePrompt = false;  // ask before an existing file is chosen in a save dialog
    bool pathMustExist = false;    // the folder of a typed name must exist
    bool keepCurrentDir = false;   // leave the process's current folder as it was

    friend bool operator==(const FileDialogSettings&, const FileDialogSettings&) = default;
};

// 通用对话框1, which all four save commands use, as the main window defines it.
FileDialogSettings scoreSaveDialogSettings();
// 通用对话框2, which both import commands use.
FileDialogSettings scoreOpenDialogSettings();

struct FileTypeEntry {
    GbkText label;
    GbkText pattern;

    friend bool operator==(const FileTypeEntry&, const FileTypeEntry&) = default;
};

// The file-type list of a filter text.  White space at its end is removed;
// a text that is then not empty and does not end with "||" gets "||"
// appended.  Every "|" (one that begins a character, never the second byte of
// a Chinese one) ends a part; the parts are read as label, pattern, label,
// pattern, and the list ends at the first empty label.  So
// "文本文档（*.txt）" is one entry whose pattern is empty, and an empty text
// gives no list.
std::vector<FileTypeEntry> parseFileTypeList(const GbkText& filter);

// The number, counted from 1, of the entry selected at first: initialFilter
// + 1, a negative initialFilter counting as 0; 0 (none) without a list.
int initialFileTypeNumber(int initialFilter, std::size_t entryCount);

}  // namespace morvane
