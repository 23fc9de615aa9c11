// The play list on its own thread, told apart by which files the engine's decoder was asked for
// and in what order, and by what reached the device.
#include "player/PlayQueue.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

class PlayQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (CapturePath().empty()) {
            GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: the play list tests need the ALSA capture";
        }
        ClearSignalOpenLog();
        m_queue.SetDecoders({InitSignalCodec, nullptr, nullptr});
    }
    void TearDown() override {
        m_queue.Destroy();
        CloseHandle(m_stop);
    }

    EngineWindow m_window;
    PlayQueue m_queue;
    HANDLE m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

// Catches a list that takes a 21st path, stops early, or does not say that it has ended.
TEST_F(PlayQueueTest, TwentyOfTwentyOnePathsPlayInOrder) {
    std::vector<std::string> paths;
    for (int i = 0; i < 21; ++i) {
        paths.push_back(SignalPath("noise", 100 + i, 4410));
        m_queue.Add(paths.back().c_str());
    }
    EXPECT_EQ(m_queue.Count(), 20);
    ClearCapture();
    ASSERT_EQ(m_queue.Start(m_stop, m_window.Get(), true, false, nullptr), 1);
    ASSERT_TRUE(m_window.WaitFor(WM_PLAY_DONE, -1, 60000));
    paths.pop_back();
    EXPECT_EQ(SignalOpenLog(), paths);
    // Each file ends with its device drained and closed; its last samples were heard.
    std::vector<int16_t> capture = CaptureSamples();
    std::vector<int16_t> last = SignalSamples(paths.back());
    long long at = FindInCapture(capture, last, 0);
    ASSERT_GE(at, 0);
    EXPECT_EQ(AgreeingRun(capture, static_cast<size_t>(at), last, 0), last.size());
}

// Catches a list that plays once without the play-once flag, or ignores the caller's stop event.
TEST_F(PlayQueueTest, WithoutPlayOnceTheListRepeatsUntilStopped) {
    std::string first = SignalPath("noise", 200, 4410);
    std::string second = SignalPath("noise", 201, 4410);
    m_queue.Add(first.c_str());
    m_queue.Add(second.c_str());
    ASSERT_EQ(m_queue.Start(m_stop, m_window.Get(), false, false, nullptr), 1);
    ASSERT_TRUE(WaitFor([] { return SignalOpenLog().size() >= 5; }, 30000));
    SetEvent(m_stop);
    ASSERT_TRUE(m_window.WaitFor(WM_PLAY_DONE, -1, 5000));
    std::vector<std::string> log = SignalOpenLog();
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i], i % 2 == 0 ? first : second) << "open number " << i;
    }
}

// Catches the finish-current flag ending the file at once instead of letting it play out.
TEST_F(PlayQueueTest, ExternalEventWithFinishCurrentEndsAfterTheFile) {
    std::string first = SignalPath("noise", 300, 44100);
    std::string second = SignalPath("noise", 301, 4410);
    m_queue.Add(first.c_str());
    m_queue.Add(second.c_str());
    HANDLE external = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ClearCapture();
    ASSERT_EQ(m_queue.Start(m_stop, m_window.Get(), true, true, external), 1);
    ASSERT_TRUE(m_window.WaitFor(WM_PLAY_DONE, -1, 30000));
    CloseHandle(external);
    EXPECT_EQ(SignalOpenLog(), std::vector<std::string>{first});
    std::vector<int16_t> capture = CaptureSamples();
    std::vector<int16_t> source = SignalSamples(first);
    long long at = FindInCapture(capture, source, 0);
    ASSERT_GE(at, 0);
    EXPECT_EQ(AgreeingRun(capture, static_cast<size_t>(at), source, 0), source.size());
}

// Catches a list that waits for ever on a path that cannot be opened.
TEST_F(PlayQueueTest, APathThatCannotBeOpenedIsPassedOver) {
    std::string good = SignalPath("noise", 300, 4410);
    m_queue.Add("Z:\\no such file.mp3");
    m_queue.Add(good.c_str());
    ASSERT_EQ(m_queue.Start(m_stop, m_window.Get(), true, false, nullptr), 1);
    ASSERT_TRUE(m_window.WaitFor(WM_PLAY_DONE, -1, 30000));
    EXPECT_EQ(SignalOpenLog(), std::vector<std::string>{good});
}

TEST(PlayQueueStart, RefusesAnEmptyListOrNoStopEvent) {
    PlayQueue queue;
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(queue.Start(stop, nullptr, true, false, nullptr), 0);
    queue.Add("");
    EXPECT_EQ(queue.Count(), 0);
    queue.Add("a.wav");
    EXPECT_EQ(queue.Start(nullptr, nullptr, true, false, nullptr), 0);
    CloseHandle(stop);
}

} // namespace
