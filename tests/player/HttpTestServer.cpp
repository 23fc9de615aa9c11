#include "tests/player/HttpTestServer.h"

#include <algorithm>

namespace qvltest {

OneShotHttpServer::OneShotHttpServer(std::string body, size_t cutAt, bool hold)
    : m_body(std::move(body)), m_cutAt(cutAt), m_hold(hold) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int length = sizeof(address);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    listen(m_listener, 1);
    m_thread = std::thread([this] { Serve(); });
}

OneShotHttpServer::~OneShotHttpServer() {
    SetEvent(m_release);
    closesocket(m_listener);
    m_thread.join();
    CloseHandle(m_release);
    WSACleanup();
}

std::string OneShotHttpServer::Url(const char* name) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/" + name;
}

void OneShotHttpServer::Serve() {
    SOCKET client = accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) {
        return;
    }
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        int got = recv(client, chunk, sizeof(chunk), 0);
        if (got <= 0) {
            break;
        }
        request.append(chunk, static_cast<size_t>(got));
    }
    std::string head =
        "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    send(client, head.data(), static_cast<int>(head.size()), 0);
    size_t end = std::min(m_cutAt, m_body.size());
    for (size_t sent = 0; sent < end;) {
        int n = send(client, m_body.data() + sent, static_cast<int>(std::min<size_t>(65536, end - sent)), 0);
        if (n <= 0) {
            break;
        }
        sent += static_cast<size_t>(n);
    }
    m_served = true;
    if (m_hold) {
        WaitForSingleObject(m_release, INFINITE);
    }
    shutdown(client, SD_BOTH);
    closesocket(client);
}

} // namespace qvltest
