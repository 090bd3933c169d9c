#include "files/byte_data.h"

namespace morvane {

ByteData textToBytes(const GbkText& text) { return ByteData(text.bytes()); }

// GbkText itself stops at the first zero byte.
GbkText bytesToText(const ByteData& data) { return GbkText(data.view()); }

}  // namespace morvane
