#include "loopback_server.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace morvane::gui {

LoopbackServer::LoopbackServer(unsigned short port, Handler handler) : handler_(std::move(handler)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    BOOL reuse = TRUE;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener_, 8) != 0) {
        closesocket(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    closesocket(listener_);
    {
        std::lock_guard lock(mutex_);
        for (SOCKET s : open_) closesocket(s);  // wakes a silent or streaming connection
    }
    if (thread_.joinable()) thread_.join();
    WSACleanup();
}

std::vector<std::string> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string LoopbackServer::response(const std::string& body, const std::string& status, const std::string& headers) {
    return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n" + headers + "\r\n" + body;
}

void LoopbackServer::serve() {
    while (!stopping_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        {
            std::lock_guard lock(mutex_);
            open_.push_back(client);
        }
        handle(client);
    }
}

void LoopbackServer::handle(SOCKET client) {
    // The request ends with an empty line; a GET has no body.
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const Reply reply = handler_(request);
    if (reply.silent) {
        // Hold the connection open without a word until the client gives up.
        while (!stopping_ && recv(client, buffer, sizeof(buffer), 0) > 0) {
        }
        return;
    }
    const auto sendAll = [&](const char* data, std::size_t size) {
        while (size > 0 && !stopping_) {
            const int put = send(client, data, static_cast<int>(size), 0);
            if (put <= 0) return false;
            sent_ += static_cast<std::size_t>(put);
            data += put;
            size -= static_cast<std::size_t>(put);
        }
        return size == 0;
    };
    bool open = sendAll(reply.bytes.data(), reply.bytes.size());
    const std::string filler(64 * 1024, 'x');
    for (std::size_t left = reply.streamBytes; open && left > 0;) {
        const std::size_t piece = std::min(left, filler.size());
        open = sendAll(filler.data(), piece);
        left -= piece;
    }
    shutdown(client, SD_SEND);
    while (recv(client, buffer, sizeof(buffer), 0) > 0) {
    }
}

}  // namespace morvane::gui
