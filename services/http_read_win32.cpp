#include "services/http_read.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

namespace morvane {

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptHeader[] = "Accept: */*\r\n";

class Handle {
public:
    explicit Handle(HINTERNET h) : h_(h) {}
    ~Handle() {
        if (h_) InternetCloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

// Each blocking call may take at most what is left of the whole time.
class Deadline {
public:
    explicit Deadline(unsigned long ms) : end_(GetTickCount64() + ms) {}
    unsigned long left() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<unsigned long>(end_ - now);
    }
    bool passed() const { return left() == 0; }
    void applyTo(HINTERNET h) const {
        DWORD ms = std::max<DWORD>(left(), 1);
        InternetSetOptionW(h, INTERNET_OPTION_CONNECT_TIMEOUT, &ms, sizeof(ms));
        InternetSetOptionW(h, INTERNET_OPTION_SEND_TIMEOUT, &ms, sizeof(ms));
        InternetSetOptionW(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms));
    }

private:
    ULONGLONG end_;
};

}  // namespace

std::string httpReadBody(const std::wstring& url, const HttpReadLimits& limits) {
    const Deadline deadline(limits.totalMilliseconds);
    std::wstring address = url.substr(0, url.find(L'#'));

    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    wchar_t extra[2048] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = std::size(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = std::size(path);
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = std::size(extra);
    if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP) return {};
    std::wstring object = std::wstring(path) + extra;
    if (object.empty()) object = L"/";

    Handle session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return {};
    deadline.applyTo(session.get());
    Handle connection(
        InternetConnectW(session.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    const std::string objectA(object.begin(), object.end());  // a cracked URL path is ASCII
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    Handle request(HttpOpenRequestA(connection.get(), "GET", objectA.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
    if (!request) return {};
    deadline.applyTo(request.get());
    if (!HttpSendRequestA(request.get(), kAcceptHeader, static_cast<DWORD>(-1), nullptr, 0)) return {};

    // Pieces of the announced length plus one (at most 100 KiB), or 10 KiB.
    DWORD announced = 0;
    DWORD size = sizeof(announced);
    DWORD piece = 10240;
    if (HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size,
                       nullptr) &&
        announced > 0)
        piece = std::min<DWORD>(announced + 1, 102400);

    std::string body;
    std::vector<char> buffer(piece);
    while (body.size() < limits.maxBodyBytes && !deadline.passed()) {
        deadline.applyTo(request.get());
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(piece, limits.maxBodyBytes - body.size()));
        if (!InternetReadFile(request.get(), buffer.data(), want, &got) || got == 0) break;
        body.append(buffer.data(), got);
    }
    return body;
}

}  // namespace morvane
