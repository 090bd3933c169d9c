// ByteData: what a file holds.  Unlike a GbkText it may hold bytes of any
// value, zero included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "convert/gbk_text.h"

namespace morvane {

class ByteData {
public:
    ByteData() = default;
    explicit ByteData(std::string bytes) : bytes_(std::move(bytes)) {}
    ByteData(const void* data, std::size_t size) : bytes_(static_cast<const char*>(data), size) {}

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }

    friend bool operator==(const ByteData&, const ByteData&) = default;

private:
    std::string bytes_;
};

// The text's bytes, as many as it has, with no terminating byte.
ByteData textToBytes(const GbkText& text);

// The bytes before the first zero byte, or all of them when there is none.
GbkText bytesToText(const ByteData& data);

}  // namespace morvane
