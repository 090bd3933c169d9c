// A small HTTP server on 127.0.0.1 for the update check's tests.  It runs
// on a thread of the test, answers each connection with a response the test
// chose, and records the requests exactly as they arrived.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace morvane::gui {

class LoopbackServer {
public:
    // What the server does with one request: the bytes to send back, or
    // nothing to send at all.
    struct Reply {
        std::string bytes;
        bool silent = false;                  // accept, read, never answer
        std::size_t streamBytes = 0;          // after `bytes`, send this many filler bytes
    };
    using Handler = std::function<Reply(const std::string& request)>;

    LoopbackServer(unsigned short port, Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::vector<std::string> requests() const;
    // Bytes the server managed to hand to the connection before the client
    // went away (or the stream ended).
    std::size_t bytesSent() const { return sent_; }

    // A whole HTTP/1.0 response with a body.
    static std::string response(const std::string& body, const std::string& status = "200 OK",
                                const std::string& headers = "");

private:
    void serve();
    void handle(SOCKET client);

    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    std::atomic<bool> stopping_{false};
    std::atomic<std::size_t> sent_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<SOCKET> open_;
    std::thread thread_;
};

}  // namespace morvane::gui
