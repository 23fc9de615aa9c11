// "http:" paths through the engine, from an HTTP server on 127.0.0.1 inside the test.
#include "player/engine/Engine.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/support/TestSupport.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

using namespace qvltest;

namespace {

// Serves one request with the body, or with its first cutAt bytes before hanging up.
class OneShotHttpServer {
public:
    // With hold set the server stays connected after cutAt bytes, silent, until it is destroyed.
    OneShotHttpServer(std::string body, size_t cutAt, bool hold = false)
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
    ~OneShotHttpServer() {
        SetEvent(m_release);
        closesocket(m_listener);
        m_thread.join();
        CloseHandle(m_release);
        WSACleanup();
    }
    OneShotHttpServer(const OneShotHttpServer&) = delete;
    OneShotHttpServer& operator=(const OneShotHttpServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/signal.wav"; }
    bool Served() const { return m_served; }

private:
    void Serve() {
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
        std::string head = "HTTP/1.0 200 OK\r\nContent-Type: audio/wav\r\nConnection: close\r\n\r\n";
        send(client, head.data(), static_cast<int>(head.size()), 0);
        size_t end = std::min(m_cutAt, m_body.size());
        for (size_t sent = 0; sent < end;) {
            int n =
                send(client, m_body.data() + sent, static_cast<int>(std::min<size_t>(65536, end - sent)), 0);
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

    std::string m_body;
    size_t m_cutAt;
    bool m_hold;
    HANDLE m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_served = false;
    std::thread m_thread;
};

class NetStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (CapturePath().empty()) {
            GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: the network tests need the ALSA capture";
        }
        m_engine =
            EngineCreateWithDecoders(m_window.Get(), nullptr, nullptr, {InitSignalCodec, nullptr, nullptr});
        ASSERT_NE(m_engine, nullptr);
        m_window.Pump(200);
        ClearCapture();
    }
    void TearDown() override { EngineDestroy(m_engine); }

    EngineWindow m_window;
    EngineControl* m_engine = nullptr;
};

// Catches a stream that never starts, loses bytes at the ring buffer's wrap, or misreads the header.
TEST_F(NetStreamTest, StreamFromTheServerPlaysWhole) {
    std::string path = SignalPath("noise", 400, 44100 * 3);
    OneShotHttpServer server(SignalWavBytes(path), std::string::npos);
    EnginePostOpen(m_engine, server.Url().c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 30000));
    EXPECT_GT(m_window.Count(kEngineBuffering), 0);
    std::vector<int16_t> capture = CaptureSamples();
    std::vector<int16_t> source = SignalSamples(path);
    long long at = FindInCapture(capture, source, 0);
    ASSERT_GE(at, 0);
    EXPECT_EQ(AgreeingRun(capture, static_cast<size_t>(at), source, 0), source.size());
}

// Catches a player that hangs, or plays garbage, when the server goes away in mid-stream.
TEST_F(NetStreamTest, ServerStoppingMidStreamEndsPlaybackCleanly) {
    std::string path = SignalPath("noise", 401, 44100 * 3);
    std::string wav = SignalWavBytes(path);
    // Not on a sample boundary, to make the last partial frame the reader's problem.
    size_t cut = 44 + 44100 * 4 + 3;
    OneShotHttpServer server(wav, cut);
    EnginePostOpen(m_engine, server.Url().c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineEnded, 15000));
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 15000));
    EXPECT_TRUE(server.Served());
    std::vector<int16_t> capture = CaptureSamples();
    std::vector<int16_t> source = SignalSamples(path);
    long long at = FindInCapture(capture, source, 0);
    ASSERT_GE(at, 0);
    size_t run = AgreeingRun(capture, static_cast<size_t>(at), source, 0);
    EXPECT_EQ(run, 44100u * 2) << "what arrived before the server stopped did not all play";
}

// Catches a stop that waits for a silent server: the download must be cancelled, not waited out.
TEST_F(NetStreamTest, StopWhileTheServerIsSilentIsPrompt) {
    std::string path = SignalPath("noise", 402, 44100 * 3);
    OneShotHttpServer server(SignalWavBytes(path), 44 + 65536, true);
    EnginePostOpen(m_engine, server.Url().c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEnginePlaying, 15000));
    ASSERT_TRUE(WaitFor([&] { return server.Served(); }, 5000));
    DWORD start = GetTickCount();
    EnginePost(m_engine, kEngineStop);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 10000));
    // One wait slice of the ring buffer (3 s) may be under way when the stop arrives, and the
    // download thread gets a second to end.
    EXPECT_LT(GetTickCount() - start, 5000u);
}

} // namespace
