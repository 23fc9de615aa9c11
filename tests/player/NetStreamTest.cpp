// "http:" paths through the engine, from an HTTP server on 127.0.0.1 inside the test.
#include "player/engine/Engine.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/player/HttpTestServer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvltest;

namespace {

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
