// Reads a web page with one synchronous HTTP/1.0 GET (WinINet).
#pragma once

#include <cstddef>
#include <string>

namespace morvane {

struct HttpReadLimits {
    std::size_t maxBodyBytes = 4u << 20;  // the rest of a larger body is dropped
    unsigned long totalMilliseconds = 15000;  // connect, send and receive together
};

// The response body, whatever the status; empty when nothing could be read.
// The fragment of the URL is not sent, no cache is used or written, and
// redirections are followed.  Reading stops at the limits, keeping what has
// arrived.
std::string httpReadBody(const std::wstring& url, const HttpReadLimits& limits = {});

}  // namespace morvane
