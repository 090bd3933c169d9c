// The two user-interface helpers every command uses.
#pragma once

#include "convert/gbk_text.h"

namespace morvane {

enum class MessageIcon { none, error };

// A task-modal message box with no owner and an OK button; "信息：" when no
// title is given.  Returns when the user has closed it.
void showMessage(const GbkText& text, MessageIcon icon, const GbkText& title = {});

// The clipboard's whole content becomes `text`: the GBK bytes with one zero
// byte as plain text, and the same text as Unicode text so that programs on
// any system read it right.  If the clipboard cannot be opened it keeps its
// old content.
void setClipboardText(const GbkText& text);

}  // namespace morvane
