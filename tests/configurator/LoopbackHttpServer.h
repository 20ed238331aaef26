#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// How the server answers one request target.
struct HttpReply {
    int status = 200;
    std::string body;
    std::string headers;        // further header lines, each ending in CR LF
    DWORD delayMs = 0;          // silence before the reply starts
    size_t missingBytes = 0;    // Content-Length promises this many more bytes; the connection then closes
    size_t padBytes = 0;        // lines of filler after the body, this many bytes in all
    DWORD trickleMs = 0;        // a pause before every 64 bytes of the body
    bool noLength = false;      // no Content-Length: the body ends where the connection closes
    size_t firstPiece = 0;      // the body's first this many bytes go alone, the rest after a pause
};

// A web server on 127.0.0.1 in the test process, answering each request target (path and
// query, as sent) as told and 404 otherwise. Every connection gets one reply and is closed.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    unsigned short Port() const { return m_port; }
    void Answer(const std::string& target, const HttpReply& reply);

    struct Request {
        std::string method;
        std::string target;
        std::string headers;  // the header lines as received
    };
    std::vector<Request> Requests() const;
    // The value of a header of a request ("" when it has none).
    static std::string Header(const Request& r, const std::string& name);

private:
    void AcceptLoop();
    void Serve(SOCKET s);
    bool Pause(DWORD ms);  // false when the server is stopping
    bool SendAll(SOCKET s, const char* data, size_t size);

    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_acceptThread;
    mutable std::mutex m_lock;
    std::map<std::string, HttpReply> m_replies;
    std::vector<Request> m_requests;
    std::vector<std::thread> m_workers;
};

// While it lives, the character lookups go to a loopback server's port on 127.0.0.1 with
// short time-outs; the program's own settings come back at its end.
class ServicesOnLoopback {
public:
    explicit ServicesOnLoopback(unsigned short port);
    ~ServicesOnLoopback();
    ServicesOnLoopback(const ServicesOnLoopback&) = delete;
    ServicesOnLoopback& operator=(const ServicesOnLoopback&) = delete;
};
