// The engine heard through the device: Wine's ALSA driver writes what the outputs play to the
// capture file, and every test compares that with the generated signal it played.
#include "player/Equaliser.h"
#include "player/engine/Engine.h"
#include "player/outputs/WaveOutOutput.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace qvltest;

namespace {

constexpr int kRate = 44100;
// One device buffer of the wave output, in samples: the tolerance on lengths.
constexpr size_t kBufferSamples = 262144 / 2;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (CapturePath().empty()) {
            GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: the engine tests need the ALSA capture";
        }
        ClearSignalOpenLog();
        m_engine =
            EngineCreateWithDecoders(m_window.Get(), m_finished, m_next, {InitSignalCodec, nullptr, nullptr});
        ASSERT_NE(m_engine, nullptr);
        // The mixer probe opens the device once; what it leaves must not count.
        m_window.Pump(200);
        ClearCapture();
    }
    void TearDown() override {
        EngineDestroy(m_engine);
        CloseHandle(m_finished);
        CloseHandle(m_next);
    }

    void PlayToTheEnd(const std::string& path, DWORD timeoutMs = 30000) {
        EnginePostOpen(m_engine, path.c_str());
        EnginePost(m_engine, kEnginePlay);
        ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineEnded, timeoutMs));
        ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, timeoutMs));
    }

    // The whole source appears once in the capture, every sample as it was generated.
    void ExpectWholeSignal(const std::vector<int16_t>& capture, const std::vector<int16_t>& source) {
        long long at = FindInCapture(capture, source, 0);
        ASSERT_GE(at, 0) << "the start of the signal never reached the device";
        size_t run = AgreeingRun(capture, static_cast<size_t>(at), source, 0);
        EXPECT_GE(run + kBufferSamples, source.size())
            << "the device received only " << run << " of " << source.size() << " samples in order";
        EXPECT_EQ(run, source.size());
    }

    EngineWindow m_window;
    HANDLE m_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_next = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EngineControl* m_engine = nullptr;
};

// Catches buffers lost, repeated or reordered on the way to the wave device, a wrong format, and an
// equaliser that colours the sound while it is off.
TEST_F(EngineTest, WaveOutDeliversEverySampleInOrder) {
    std::string path = SignalPath("noise", 1, kRate * 3);
    ASSERT_NO_FATAL_FAILURE(PlayToTheEnd(path));
    ExpectWholeSignal(CaptureSamples(), SignalSamples(path));
    EXPECT_EQ(WaitForSingleObject(m_finished, 0), WAIT_OBJECT_0) << "the drained file did not set its event";
    EXPECT_EQ(WaitForSingleObject(m_next, 0), WAIT_OBJECT_0) << "the decoded file did not ask for the next";
    // The whole file went to the device at once; the position still follows what is heard.
    EXPECT_GE(m_window.Count(kEnginePosition), 2) << "the position stood still while the file played";
}

// 96 kHz stereo: 384,000 bytes a second, so that a 16-second file is longer than the sixteen
// device buffers and part of it is still with the decoder while the test acts.
constexpr int kLongRate = 96000;
constexpr int kLongFrames = kLongRate * 16;

// Catches a seek that leaves the old queued audio playing or lands elsewhere than the middle, and a
// position that shows where the decoder is instead of what the device plays.
TEST_F(EngineTest, SeekToTheMiddleDropsWhatWasQueued) {
    std::string path = SignalPath("noise", 2, kLongFrames, kLongRate);
    std::vector<int16_t> source = SignalSamples(path);
    EnginePost(m_engine, kEngineSetScale, 1000);
    EnginePostOpen(m_engine, path.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(WaitFor([] { return CaptureBytes() >= 512 * 1024; }, 10000));
    EnginePost(m_engine, kEngineSeek, 1, 2);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 60000));
    std::vector<int16_t> capture = CaptureSamples();

    size_t middle = source.size() / 2;
    long long head = FindInCapture(capture, source, 0);
    long long at = FindInCapture(capture, source, middle);
    ASSERT_GE(head, 0);
    ASSERT_GE(at, 0) << "the middle of the file never reached the device";
    EXPECT_EQ(AgreeingRun(capture, static_cast<size_t>(at), source, middle), source.size() - middle);
    size_t before = AgreeingRun(capture, static_cast<size_t>(head), source, 0);
    EXPECT_LT(before, middle - kBufferSamples) << "the audio queued before the seek was played anyway";
    EXPECT_LE(static_cast<size_t>(head) + before, static_cast<size_t>(at));
    // Before the seek about a second and a half had been heard (while the decoder was some ten
    // seconds further on); then the position went to the middle (8 s) and on to the end.
    EXPECT_GE(m_window.Count(kEngineFileInfo), 1);
    std::vector<WPARAM> seconds;
    for (const auto& note : m_window.Notes()) {
        if (note.message == kEnginePosition) {
            seconds.push_back(note.wParam);
        } else if (note.message == kEngineScaledPosition) {
            EXPECT_LE(note.wParam, 1000u);
        }
    }
    ASSERT_GE(seconds.size(), 4u);
    EXPECT_LE(seconds.front(), 1u);
    auto jump =
        std::adjacent_find(seconds.begin(), seconds.end(), [](WPARAM a, WPARAM b) { return b > a + 2; });
    ASSERT_NE(jump, seconds.end()) << "the position never went to the middle";
    EXPECT_LE(*jump, 3u) << "the position ran ahead of the device before the seek";
    EXPECT_GE(*(jump + 1), 7u);
    EXPECT_LE(*(jump + 1), 9u);
    EXPECT_GE(seconds.back(), 15u);
    EXPECT_GE(m_window.Count(kEngineScaledPosition), 2);
}

// Catches a pause that does not hold the device, and a resume that loses or repeats audio.
TEST_F(EngineTest, PauseHoldsTheDeviceAndResumeContinues) {
    std::string path = SignalPath("noise", 3, kLongFrames, kLongRate);
    std::vector<int16_t> source = SignalSamples(path);
    EnginePostOpen(m_engine, path.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(WaitFor([] { return CaptureBytes() >= 512 * 1024; }, 10000));
    EnginePost(m_engine, kEnginePause);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEnginePaused, 5000));
    m_window.Pump(300);
    long long paused = CaptureBytes();
    m_window.Pump(1000);
    EXPECT_EQ(CaptureBytes(), paused) << "the device went on playing while paused";
    EXPECT_LT(paused, static_cast<long long>(source.size()));

    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 60000));
    std::vector<int16_t> capture = CaptureSamples();
    long long head = FindInCapture(capture, source, 0);
    ASSERT_GE(head, 0);
    size_t first = AgreeingRun(capture, static_cast<size_t>(head), source, 0);
    if (first < source.size()) {
        // Wine may put a little silence where the device stopped; the audio itself goes on unbroken.
        size_t resume = first - first % 2;
        long long at = FindInCapture(capture, source, resume, 256, static_cast<size_t>(head) + first);
        ASSERT_GE(at, 0) << "playback did not continue where it paused";
        EXPECT_EQ(AgreeingRun(capture, static_cast<size_t>(at), source, resume), source.size() - resume);
    }
}

// Catches a stop that leaves the device playing out what it has queued.
TEST_F(EngineTest, StopSilencesTheDeviceAtOnce) {
    std::string path = SignalPath("noise", 4, kLongFrames, kLongRate);
    std::vector<int16_t> source = SignalSamples(path);
    EnginePostOpen(m_engine, path.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(WaitFor([] { return CaptureBytes() >= 512 * 1024; }, 10000));
    EnginePost(m_engine, kEngineStop);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 5000));
    std::vector<int16_t> capture = CaptureSamples();
    m_window.Pump(500);
    EXPECT_EQ(CaptureBytes(), static_cast<long long>(capture.size() * 2)) << "sound went on after the stop";
    EXPECT_LT(capture.size(), source.size() / 2);
    EXPECT_EQ(m_window.Count(kEngineStateChanged, kEngineEnded), 0);
}

// Catches an engine that opens (and plays a moment of) a file whose open was already superseded.
TEST_F(EngineTest, TwoQuickOpensPlayOnlyTheSecond) {
    std::string first = SignalPath("noise", 5, kRate * 2);
    std::string second = SignalPath("noise", 6, kRate * 2);
    EnginePostOpen(m_engine, first.c_str());
    EnginePostOpen(m_engine, second.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 30000));
    std::vector<int16_t> capture = CaptureSamples();
    EXPECT_EQ(SignalOpenLog(), std::vector<std::string>{second});
    EXPECT_LT(FindInCapture(capture, SignalSamples(first), 0), 0);
    ExpectWholeSignal(capture, SignalSamples(second));
}

// Catches a new file that waits behind everything the old one had queued (the user chose it now),
// and a switch between files of one format that closes and opens the device again.
TEST_F(EngineTest, AnotherFileOpenedWhilePlayingIsHeardAtOnce) {
    std::string first = SignalPath("noise", 10, kRate * 10);
    std::string second = SignalPath("noise", 11, kRate * 2);
    EnginePostOpen(m_engine, first.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(WaitFor([] { return CaptureBytes() >= 256 * 1024; }, 10000));
    EnginePostOpen(m_engine, second.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 30000));
    std::vector<int16_t> capture = CaptureSamples();
    std::vector<int16_t> a = SignalSamples(first);
    long long at = FindInCapture(capture, a, 0);
    ASSERT_GE(at, 0);
    EXPECT_LT(AgreeingRun(capture, static_cast<size_t>(at), a, 0), a.size() / 2)
        << "the first file played on after the second was opened";
    ExpectWholeSignal(capture, SignalSamples(second));
    EXPECT_EQ(m_window.Count(kEngineStateChanged, kEngineStopped), 1);
    EXPECT_EQ(EngineOutputOpenCount(m_engine), 1) << "the device was opened again for a file of its format";
}

// Catches an equaliser change that waits for new buffers: the whole tone is queued before the
// change, so only buffers filtered again can carry it.
TEST_F(EngineTest, EqualiserChangeIsHeardAtOnce) {
    std::string path = SignalPath("tone", 1000, kRate * 20);
    EnginePostOpen(m_engine, path.c_str());
    EnginePost(m_engine, kEnginePlay);
    ASSERT_TRUE(WaitFor([] { return CaptureBytes() >= kRate * 4 * 2; }, 10000));
    auto settings = std::make_unique<EqualiserSettings>();
    settings->enabled = 1;
    settings->bandTenthsDb[5] = -120; // the 1 kHz band
    EnginePost(m_engine, kEngineSetEqualiser, 0, reinterpret_cast<LPARAM>(settings.release()));
    ASSERT_TRUE(m_window.WaitFor(kEngineStateChanged, kEngineStopped, 60000));
    std::vector<int16_t> capture = CaptureSamples();
    ASSERT_GT(capture.size(), static_cast<size_t>(kRate * 2 * 18));
    double before = Rms(capture, kRate * 2 / 2, kRate * 2);
    double after = Rms(capture, capture.size() - kRate * 2 * 4, kRate * 2 * 3);
    EXPECT_NEAR(before, 8000 / std::sqrt(2.0), 200);
    // -12 dB at the band's centre is a quarter of the amplitude.
    EXPECT_NEAR(after / before, 0.25, 0.05);
}

// Catches the DirectSound output losing, repeating or reordering audio in its looping buffer.
// Wine's DirectSound mixes in 32-bit float at 48 kHz, so the signal is made at that rate and the
// float samples are taken back to 16 bits.
TEST_F(EngineTest, DirectSoundDeliversEverySampleInOrder) {
    EnginePost(m_engine, kEngineSelectOutput, 1);
    std::string path = SignalPath("noise", 9, 48000 * 3, 48000);
    ASSERT_NO_FATAL_FAILURE(PlayToTheEnd(path));
    ExpectWholeSignal(CaptureSamples(400, 30000, true), SignalSamples(path));
}

// Catches output names that are not the system's own texts, or indices out of the engine's order.
TEST_F(EngineTest, ReportsItsOutputsAndEchoes) {
    EnginePost(m_engine, kEngineListOutputs);
    EnginePost(m_engine, kEngineEcho, 4711);
    ASSERT_TRUE(m_window.WaitFor(kEngineEchoReply, 4711, 5000));
    std::vector<std::pair<LPARAM, std::string>> outputs;
    for (const auto& note : m_window.Notes()) {
        if (note.message == kEngineOutputName) {
            outputs.emplace_back(note.lParam, note.text);
        }
    }
    std::vector<std::pair<LPARAM, std::string>> expected = {{0, "Wave mapper output"},
                                                            {1, "DirectSound output"}};
    EXPECT_EQ(outputs, expected);
}

// Catches a registration under the wrong key or with another class name.
TEST_F(EngineTest, RegistersTheDecodersExtensionsWithTheShell) {
    RegistryKeyRemoved saved(HKEY_CLASSES_ROOT, ".sig");
    EnginePost(m_engine, kEngineRegisterTypes);
    EnginePost(m_engine, kEngineEcho, 1);
    ASSERT_TRUE(m_window.WaitFor(kEngineEchoReply, 1, 5000));
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, ".sig", ""), "QVL AudioLib.Audio");
}

// Catches an overflow of the 16-bit channel volume at the top of the scale.
TEST(WaveOutVolume, IsCappedAtFullScale) {
    EXPECT_EQ(WaveOutVolumeFor(100), 0xFFFFFFFFu);
    EXPECT_EQ(WaveOutVolumeFor(50), static_cast<DWORD>(MAKELONG(32800, 32800)));
    EXPECT_EQ(WaveOutVolumeFor(0), 0u);
}

} // namespace
