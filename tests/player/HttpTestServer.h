// A one-request HTTP server on 127.0.0.1 for the network playback tests.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <string>
#include <thread>

namespace qvltest {

// Serves one request with the body, or with its first cutAt bytes before hanging up.
class OneShotHttpServer {
public:
    // With hold set the server stays connected after cutAt bytes, silent, until it is destroyed.
    OneShotHttpServer(std::string body, size_t cutAt, bool hold = false);
    ~OneShotHttpServer();
    OneShotHttpServer(const OneShotHttpServer&) = delete;
    OneShotHttpServer& operator=(const OneShotHttpServer&) = delete;

    // The address of the body; name is the last part of the path (the server serves any).
    std::string Url(const char* name = "signal.wav") const;
    bool Served() const { return m_served; }

private:
    void Serve();

    std::string m_body;
    size_t m_cutAt;
    bool m_hold;
    HANDLE m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_served = false;
    std::thread m_thread;
};

} // namespace qvltest
