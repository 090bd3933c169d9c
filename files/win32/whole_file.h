// Whole-file reading and writing.  Paths are GbkText; nothing is reported to
// the user, a failure is only the result.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

#include "convert/gbk_text.h"
#include "files/byte_data.h"

namespace morvane::win32 {

// Writes the parts one after the other as the whole new content of the file
// at `path`, and gives true when the file holds exactly that.
//
// The content goes to a temporary file in the same folder first, which then
// takes the target's place in one step (a rename that replaces it), so the
// target is never half written: after any failure it holds its old content
// (or is still missing) and no temporary file is left.  The temporary file
// is not shared with anyone while it is open.
//
// False, with nothing touched, for an empty path, a missing folder, a target
// that is a folder, is read-only, or is held open by anyone (an open that
// shares nothing would fail), and for any error while writing or renaming.
//
// A replaced file keeps its attributes (hidden, system, archive, not
// indexed) and its creation time.  Its permissions become those that the
// folder gives a new file, as for any file created there.  A new file gets
// the ordinary attributes; a caller that wants it hidden sets that after.
bool writeWholeFile(const GbkText& path, std::span<const ByteData> parts);
bool writeWholeFile(const GbkText& path, std::initializer_list<ByteData> parts);

// The whole file, or empty data when the path is empty or the file cannot be
// opened or read.  While it is open others may read it but not write it, so
// a file that someone holds open for writing gives empty data.  If fewer
// bytes arrive than the file's length said, the result is what arrived.
ByteData readWholeFile(const GbkText& path);

namespace detail {
// For tests only: called by writeWholeFile once the temporary file is
// complete and closed, just before it replaces the target.
using BeforeReplaceHook = void (*)(const std::wstring& temporary, const std::wstring& target);
extern BeforeReplaceHook beforeReplaceForTesting;
}  // namespace detail

}  // namespace morvane::win32
