#include "LoopbackHttpServer.h"
#include "configurator/panels/CharacterServices.h"
#include <ws2tcpip.h>
#include <algorithm>
#include <cctype>

namespace {

struct WinsockStart {
    WinsockStart()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer()
{
    static WinsockStart winsock;
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(m_listener, 16);
    int size = sizeof(address);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stop = true;
    m_acceptThread.join();
    closesocket(m_listener);
    for (std::thread& t : m_workers) t.join();
}

void LoopbackHttpServer::Answer(const std::string& target, const HttpReply& reply)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_replies[target] = reply;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_requests;
}

std::string LoopbackHttpServer::Header(const Request& r, const std::string& name)
{
    std::string lower = r.headers, key = name + ":";
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return (char)tolower((unsigned char)c); });
    std::transform(key.begin(), key.end(), key.begin(), [](char c) { return (char)tolower((unsigned char)c); });
    size_t at = lower.find("\r\n" + key);
    if (at == std::string::npos) return std::string();
    size_t start = at + 2 + key.size();
    size_t end = r.headers.find("\r\n", start);
    std::string value = r.headers.substr(start, end - start);
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    while (!value.empty() && value.back() == ' ') value.pop_back();
    return value;
}

void LoopbackHttpServer::AcceptLoop()
{
    while (!m_stop) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(m_listener, &ready);
        timeval wait = {0, 20000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET s = accept(m_listener, nullptr, nullptr);
        if (s == INVALID_SOCKET) continue;
        std::lock_guard<std::mutex> hold(m_lock);
        m_workers.emplace_back([this, s] { Serve(s); });
    }
}

bool LoopbackHttpServer::Pause(DWORD ms)
{
    for (DWORD waited = 0; waited < ms && !m_stop; waited += 10) Sleep(10);
    return !m_stop;
}

bool LoopbackHttpServer::SendAll(SOCKET s, const char* data, size_t size)
{
    while (size > 0) {
        int n = send(s, data, (int)std::min<size_t>(size, 16384), 0);
        if (n <= 0) return false;
        data += n;
        size -= (size_t)n;
    }
    return true;
}

void LoopbackHttpServer::Serve(SOCKET s)
{
    DWORD timeout = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    std::string in;
    char buf[4096];
    while (in.find("\r\n\r\n") == std::string::npos && in.size() < 65536) {
        int n = recv(s, buf, sizeof(buf), 0);
        if (n <= 0) break;
        in.append(buf, (size_t)n);
    }
    size_t lineEnd = in.find("\r\n");
    if (lineEnd == std::string::npos) {
        closesocket(s);
        return;
    }
    Request request;
    std::string line = in.substr(0, lineEnd);
    size_t sp1 = line.find(' '), sp2 = line.rfind(' ');
    request.method = line.substr(0, sp1);
    if (sp1 != std::string::npos && sp2 > sp1) request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    request.headers = in.substr(lineEnd, in.find("\r\n\r\n") - lineEnd + 2);

    HttpReply reply;
    reply.status = 404;
    reply.body = "<html><body>Not found</body></html>";
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_requests.push_back(request);
        auto found = m_replies.find(request.target);
        if (found != m_replies.end()) reply = found->second;
    }

    if (Pause(reply.delayMs)) {
        std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
        if (!reply.noLength)
            head += "Content-Length: " + std::to_string(reply.body.size() + reply.padBytes + reply.missingBytes) + "\r\n";
        head += "Connection: close\r\n" + reply.headers + "\r\n";
        size_t first = std::min(reply.firstPiece, reply.body.size());
        if (first > 0) {
            // Without Nagle's delay each send leaves at once, so the client gets the first
            // piece by itself.
            BOOL noDelay = TRUE;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
        }
        bool ok = SendAll(s, head.data(), head.size());
        if (first > 0) ok = SendAll(s, reply.body.data(), first) && Pause(200);
        for (size_t at = first; ok && at < reply.body.size(); at += reply.trickleMs ? 64 : reply.body.size() - first) {
            if (reply.trickleMs && !Pause(reply.trickleMs)) break;
            size_t n = reply.trickleMs ? std::min<size_t>(64, reply.body.size() - at) : reply.body.size() - first;
            ok = SendAll(s, reply.body.data() + at, n);
        }
        std::string filler(99, 'x');
        filler += '\n';
        for (size_t sent = 0; ok && sent < reply.padBytes && !m_stop; sent += filler.size())
            ok = SendAll(s, filler.data(), std::min(filler.size(), reply.padBytes - sent));
    }
    shutdown(s, SD_SEND);
    // Let the client read what was sent before the connection goes.
    timeout = 500;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    for (int i = 0; i < 4 && recv(s, buf, sizeof(buf), 0) > 0; ++i) {}
    closesocket(s);
}

ServicesOnLoopback::ServicesOnLoopback(unsigned short port)
{
    CharacterServiceSettings& s = CharacterServices();
    for (int r = 0; r < REGION_COUNT; ++r) s.apiHost[r] = s.sheetHost[r] = L"127.0.0.1";
    s.port = port;
    s.connectTimeoutMs = 2000;
    s.sendTimeoutMs = 1000;
    s.receiveTimeoutMs = 700;
    s.exchangeLimitMs = 2500;
}

ServicesOnLoopback::~ServicesOnLoopback()
{
    CharacterServices() = DefaultCharacterServices();
}
