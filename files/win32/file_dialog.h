// The open and save dialogs of the common dialog library, built from a
// FileDialogSettings each time they are shown.
#pragma once

#include <windows.h>

#include <string>

#include "files/file_dialog_settings.h"

namespace morvane::win32 {

// Shows the dialog that `settings` describe, modal over `owner`.  When the
// user confirms a file, settings.fileName becomes its full path and the
// result is true; when the user cancels or closes it, nothing changes and
// the result is false.  A proposed name that the dialog refuses outright (one
// with characters a file name cannot hold) is dropped and the dialog shown
// without it.
bool runFileDialog(FileDialogSettings& settings, HWND owner);

// The OFN_ flags for the settings: OFN_HIDEREADONLY always; OFN_CREATEPROMPT,
// OFN_FILEMUSTEXIST (open dialogs only, as a save dialog ignores it),
// OFN_OVERWRITEPROMPT, OFN_PATHMUSTEXIST and OFN_NOCHANGEDIR when the
// matching option is on.
DWORD fileDialogFlags(const FileDialogSettings& settings);

// The file-type list as the dialog takes it: label NUL pattern NUL for each
// entry of parseFileTypeList, then one more NUL; empty without entries.  An
// entry whose pattern is empty is kept with its empty pattern.
std::wstring fileDialogFilter(const GbkText& filter);

}  // namespace morvane::win32
