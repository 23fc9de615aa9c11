#include "encode/Mp3Encoder.h"

#include "app/Messages.h"
#include "app/Settings.h"
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "companions/qvllog/qvllog.h"
#include "encode/LameLibrary.h"
#include "tests/support/Mp3FileLayout.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <thread>
#include <utility>

using namespace qvltest;

namespace {

constexpr DWORD kRate = 44100;
constexpr DWORD kPipeBytes = 0x100000;
constexpr DWORD kFeedBlock = 10240;
constexpr DWORD kEncodeTimeoutMs = 60000;
constexpr char kTitle[] = "Quaver Tone";
constexpr char kArtist[] = "The Test Signals";
constexpr char kSourcePath[] = "C:\\capture\\burn\\Track 01.wav";

// Feeds the pipe from its own thread in the capture feeder's block size, and closes the write end
// at the end of the data or when the reader has gone. With a pause point it stops there until the
// resume event is set.
class PipeWriter {
public:
    PipeWriter(HANDLE writeEnd, std::string pcm, size_t pauseAt, HANDLE resume)
        : m_thread([writeEnd, pcm = std::move(pcm), pauseAt, resume] {
              ScopedHandle pipe(writeEnd);
              for (size_t at = 0; at < pcm.size(); at += kFeedBlock) {
                  if (at == pauseAt) {
                      WaitForSingleObject(resume, kEncodeTimeoutMs);
                  }
                  DWORD block = static_cast<DWORD>(std::min<size_t>(kFeedBlock, pcm.size() - at));
                  DWORD written = 0;
                  if (!::WriteFile(pipe.Get(), pcm.data() + at, block, &written, nullptr)) {
                      return;
                  }
              }
          }) {}
    ~PipeWriter() { m_thread.join(); }
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

private:
    std::thread m_thread;
};

struct Track {
    Track(std::string bytes, DWORD channelCount, std::string path)
        : pcm(std::move(bytes)), channels(channelCount), outputPath(std::move(path)) {}

    std::string pcm;
    DWORD channels;
    std::string outputPath;
    // The feeder stops here until the test lets it go on.
    size_t pauseAt = std::string::npos;
};

class Mp3EncoderRun : public testing::Test {
protected:
    void SetUp() override {
        Mp3EncoderSettings& mp3 = GetSettings().mp3;
        m_savedTriple = mp3.Current();
        m_savedFlags = {mp3.id3v1, mp3.id3v2};
        ASSERT_TRUE(m_abort && m_done && m_resume);
    }

    void TearDown() override {
        Mp3EncoderSettings& mp3 = GetSettings().mp3;
        mp3.Current() = m_savedTriple;
        mp3.id3v1 = m_savedFlags.first;
        mp3.id3v2 = m_savedFlags.second;
        LogOpen("NUL");
    }

    static void Choose(const Mp3Preset& triple, bool id3v1, bool id3v2) {
        Mp3EncoderSettings& mp3 = GetSettings().mp3;
        mp3.Current() = triple;
        mp3.id3v1 = id3v1 ? 1 : 0;
        mp3.id3v2 = id3v2 ? 1 : 0;
    }

    // Runs one track through a new encoder as the pipeline driver does, and returns once the
    // encoder's done event is set and its messages are in. whileRunning runs between the start
    // and the wait.
    void Encode(const Track& track, const std::function<void()>& whileRunning = {}) {
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, kPipeBytes));

        auto dataBytes = static_cast<DWORD>(track.pcm.size());
        _AUDIO_ENCODE_WORK_PARAM work;
        work.readPipe = readEnd;
        WORD blockAlign = static_cast<WORD>(track.channels * sizeof(SHORT));
        work.format = {
            WAVE_FORMAT_PCM, static_cast<WORD>(track.channels), kRate, kRate * blockAlign, blockAlign, 16, 0};
        work.abortEvent = m_abort.Get();
        work.doneEvent = m_done.Get();
        work.dataBytes = dataBytes;
        work.sampleRate = kRate;
        work.formatConstant = 224;
        work.channels = track.channels;
        lstrcpynA(work.outputPath, track.outputPath.c_str(), MAX_PATH);
        work.notifyWindow = m_window.Get();
        work.progressMessage = WM_ENCODE_PROGRESS;
        work.finishedMessage = WM_TRACK_ENCODED;
        work.tags.title = kTitle;
        work.tags.artist = kArtist;
        work.tags.album = "Pipeline Sessions";
        work.totalBytes = dataBytes;
        lstrcpynA(work.sourcePath, kSourcePath, MAX_PATH);

        Mp3Encoder encoder;
        ASSERT_EQ(encoder.IsReady(), 1);
        {
            PipeWriter writer(writeEnd, track.pcm, track.pauseAt, m_resume.Get());
            ASSERT_EQ(encoder.StartEncode(&work), 1);
            if (whileRunning) {
                whileRunning();
            }
            WaitUntilDone();
        }
        m_window.Pump();
    }

    // A message box nobody expected would hold the encoder for ever: close it and fail.
    void WaitUntilDone() {
        if (WaitForSingleObject(m_done.Get(), kEncodeTimeoutMs) == WAIT_OBJECT_0) {
            return;
        }
        if (HWND box = AppControl::FindMessageBox(GetCurrentProcessId(), "")) {
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            ADD_FAILURE() << "unexpected message box: " << text;
            AppControl::AnswerMessageBox(GetCurrentProcessId(), "", IDOK, 5000);
        }
        ASSERT_EQ(WaitForSingleObject(m_done.Get(), kEncodeTimeoutMs), WAIT_OBJECT_0)
            << "encoder never finished";
    }

    // One WM_TRACK_ENCODED for the track, and progress that only grows and ends at the data size.
    void ExpectReported(const Track& track, const std::string& duration) {
        ASSERT_EQ(m_window.finished.size(), 1u);
        const _AUDIO_ENCODE_FINISH_RESULT& result = *m_window.finished.front();
        EXPECT_STREQ(result.title, kTitle);
        EXPECT_STREQ(result.artist, kArtist);
        EXPECT_STREQ(result.album, "Pipeline Sessions");
        EXPECT_STREQ(result.outputPath, track.outputPath.c_str());
        EXPECT_STREQ(result.sourcePath, kSourcePath);
        EXPECT_STREQ(result.duration, duration.c_str());

        const auto& progress = m_window.progress;
        ASSERT_FALSE(progress.empty());
        LPARAM total = track.pcm.size() >> 10;
        EXPECT_EQ(progress.back(), std::make_pair(static_cast<WPARAM>(total), total)) << "the last message";
        for (size_t i = 0; i < progress.size(); ++i) {
            EXPECT_EQ(progress[i].second, total) << "message " << i;
            if (i > 0) {
                EXPECT_GE(progress[i].first, progress[i - 1].first) << "message " << i;
            }
        }
    }

    // Reads the output and checks that it is one well-formed MP3 file.
    Mp3FileLayout ReadOutput(const std::string& path) {
        Mp3FileLayout layout;
        EXPECT_TRUE(ReadMp3FileLayout(ReadFile(path), layout)) << path;
        return layout;
    }

    HANDLE AbortEvent() const { return m_abort.Get(); }
    HANDLE ResumeEvent() const { return m_resume.Get(); }

    TestFolder m_folder;
    EncoderWindow m_window;

private:
    ScopedHandle m_abort{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ScopedHandle m_done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ScopedHandle m_resume{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    Mp3Preset m_savedTriple{};
    std::pair<int32_t, int32_t> m_savedFlags;
};

size_t FrameBytes(const Mp3FileLayout& layout) {
    size_t bytes = 0;
    for (const Mp3Frame& frame : layout.frames) {
        bytes += frame.length;
    }
    return bytes;
}

// The chunk is `samples` 16-bit values: one MPEG-1 frame of all channels.
size_t ProgressMessagesFor(size_t dataBytes, DWORD channels) {
    size_t chunk = 1152 * channels * sizeof(SHORT);
    EXPECT_NE(dataBytes % chunk, 0u) << "the count below is for a last, partial chunk";
    return dataBytes / chunk + 1 + 1;
}

} // namespace

TEST_F(Mp3EncoderRun, ConstantBitrateStereoGetsInfoFrameAndBothTags) {
    Choose({0, 192, 192}, true, true);
    Track track{TestPcm(2 * kRate * 4), 2, m_folder / "cbr.mp3"};
    ASSERT_NO_FATAL_FAILURE(Encode(track));

    std::string file = ReadFile(track.outputPath);
    Mp3FileLayout layout = ReadOutput(track.outputPath);
    ASSERT_FALSE(layout.frames.empty());
    EXPECT_GT(layout.id3v2Bytes, 10u) << "ID3v2 in front";
    EXPECT_NE(file.substr(0, layout.id3v2Bytes).find(kTitle), std::string::npos) << "title in the ID3v2 tag";
    EXPECT_TRUE(layout.id3v1) << "ID3v1 at the end";
    EXPECT_EQ(layout.id3v1Title, kTitle);

    EXPECT_EQ(layout.infoId, "Info") << "constant bitrate";
    EXPECT_EQ(layout.infoFrames, layout.frames.size() - 1) << "filled in after the encode";
    EXPECT_EQ(layout.infoBytes, FrameBytes(layout));
    for (size_t i = 0; i < layout.frames.size(); ++i) {
        const Mp3Frame& frame = layout.frames[i];
        EXPECT_EQ(frame.bitrateKbps, 192) << "frame " << i;
        EXPECT_EQ(frame.sampleRate, 44100) << "frame " << i;
        EXPECT_FALSE(frame.mono) << "frame " << i;
        EXPECT_TRUE(frame.crc) << "frame " << i;
        EXPECT_EQ(frame.mainDataBegin, 0u) << "no bit reservoir, frame " << i;
    }
    EXPECT_GE(layout.AudioSeconds(), 2.0);
    EXPECT_LE(layout.AudioSeconds(), 2.15);

    ExpectReported(track, "0:02");
    EXPECT_EQ(m_window.progress.size(), ProgressMessagesFor(track.pcm.size(), 2));
}

TEST_F(Mp3EncoderRun, WithoutTagsTheFileHoldsOnlyTheEncoderOutput) {
    Choose({0, 128, 128}, false, false);
    Track track{TestPcm(kRate * 4), 2, m_folder / "bare.mp3"};
    ASSERT_NO_FATAL_FAILURE(Encode(track));

    Mp3FileLayout layout = ReadOutput(track.outputPath);
    EXPECT_EQ(layout.id3v2Bytes, 0u);
    EXPECT_FALSE(layout.id3v1);
    EXPECT_EQ(FrameBytes(layout), static_cast<size_t>(FileSize(track.outputPath)));
    EXPECT_EQ(layout.infoId, "Info");
    EXPECT_EQ(static_cast<long long>(layout.infoBytes), FileSize(track.outputPath));
    ASSERT_FALSE(layout.frames.empty());
    EXPECT_EQ(layout.frames.back().bitrateKbps, 128);
    ExpectReported(track, "0:01");
}

TEST_F(Mp3EncoderRun, VariableBitrateStaysWithinItsBoundsAndGetsAXingFrameAndOnlyId3v1) {
    Choose({1, 128, 320}, true, false);
    Track track{TestPcm(2 * kRate * 4), 2, m_folder / "vbr.mp3"};
    ASSERT_NO_FATAL_FAILURE(Encode(track));

    Mp3FileLayout layout = ReadOutput(track.outputPath);
    ASSERT_GT(layout.frames.size(), 1u);
    EXPECT_EQ(layout.infoId, "Xing") << "variable bitrate";
    EXPECT_EQ(layout.infoFrames, layout.frames.size() - 1);
    EXPECT_EQ(layout.infoBytes, FrameBytes(layout));
    std::set<int> bitrates;
    for (size_t i = 1; i < layout.frames.size(); ++i) {
        EXPECT_GE(layout.frames[i].bitrateKbps, 128) << "frame " << i;
        EXPECT_LE(layout.frames[i].bitrateKbps, 320) << "frame " << i;
        bitrates.insert(layout.frames[i].bitrateKbps);
    }
    EXPECT_GT(bitrates.size(), 1u) << "the bitrate varies";
    EXPECT_EQ(layout.id3v2Bytes, 0u);
    EXPECT_EQ(layout.id3v1Title, kTitle);
    EXPECT_GE(layout.AudioSeconds(), 2.0);
    EXPECT_LE(layout.AudioSeconds(), 2.15);
    ExpectReported(track, "0:02");
}

TEST_F(Mp3EncoderRun, MonoSourceGivesMonoFramesFromOneFrameChunksAndOnlyId3v2) {
    Choose({0, 128, 128}, false, true);
    Track track{TestPcm(kRate * 2), 1, m_folder / "mono.mp3"};
    ASSERT_NO_FATAL_FAILURE(Encode(track));

    Mp3FileLayout layout = ReadOutput(track.outputPath);
    ASSERT_FALSE(layout.frames.empty());
    EXPECT_EQ(layout.infoId, "Info") << "found behind the mono side information";
    for (size_t i = 0; i < layout.frames.size(); ++i) {
        EXPECT_TRUE(layout.frames[i].mono) << "frame " << i;
    }
    EXPECT_GT(layout.id3v2Bytes, 10u);
    EXPECT_FALSE(layout.id3v1);
    EXPECT_GE(layout.AudioSeconds(), 1.0);
    EXPECT_LE(layout.AudioSeconds(), 1.1);
    ExpectReported(track, "0:01");
    EXPECT_EQ(m_window.progress.size(), ProgressMessagesFor(track.pcm.size(), 1));
}

TEST_F(Mp3EncoderRun, AbortMidTrackLeavesAShorterFinishedTaggedFile) {
    Choose({0, 128, 128}, true, true);
    const DWORD fedFirst = 100 * kFeedBlock; // about 5.8 s of the 20 s track
    Track track{TestPcm(20 * kRate * 4), 2, m_folder / "aborted.mp3"};
    track.pauseAt = fedFirst;
    ASSERT_NO_FATAL_FAILURE(Encode(track, [&] {
        // Once the encoder has taken nearly all of the first part, stop the track and let the
        // feeder go on: the encoder notices at its next chunk.
        WPARAM nearlyAll = (fedFirst - 1152 * 4) >> 10;
        EXPECT_TRUE(WaitFor(
            [&] {
                m_window.Pump();
                return !m_window.progress.empty() && m_window.progress.back().first >= nearlyAll;
            },
            kEncodeTimeoutMs));
        SetEvent(AbortEvent());
        SetEvent(ResumeEvent());
    }));

    Mp3FileLayout layout = ReadOutput(track.outputPath);
    EXPECT_GT(layout.id3v2Bytes, 10u);
    EXPECT_EQ(layout.id3v1Title, kTitle);
    EXPECT_EQ(layout.infoId, "Info");
    EXPECT_EQ(layout.infoFrames, layout.frames.size() - 1) << "the Info frame counts what was encoded";
    double fedSeconds = fedFirst / (4.0 * kRate);
    EXPECT_GE(layout.AudioSeconds(), fedSeconds - 0.1);
    // The encoder looks at the abort event at most every 15 ms, and a busy machine may let it
    // encode a little of what the feeder wrote after the abort before it looks.
    EXPECT_LE(layout.AudioSeconds(), fedSeconds + 2.0) << "stopped soon after the abort, far from the end";
    ExpectReported(track, "0:20");
}

TEST_F(Mp3EncoderRun, EmptySourceStillGivesAReportedFile) {
    Choose({0, 128, 128}, false, false);
    Track track{"", 2, m_folder / "empty.mp3"};
    ASSERT_NO_FATAL_FAILURE(Encode(track));

    Mp3FileLayout layout = ReadOutput(track.outputPath);
    EXPECT_EQ(layout.infoId, "Info");
    EXPECT_EQ(layout.infoFrames, layout.frames.size() - 1);
    ExpectReported(track, "0:00");
    EXPECT_EQ(m_window.progress.size(), 2u) << "before the first read, and the last one";
}

TEST_F(Mp3EncoderRun, UncreatableOutputIsLoggedShownAndStillReported) {
    Choose({0, 128, 128}, true, true);
    ASSERT_EQ(LogOpen((m_folder / "qvl.log").c_str()), 1);
    Track track{TestPcm(kRate * 4), 2, m_folder / "missing\\track.mp3"};

    std::string boxTitle;
    std::string boxText;
    bool answered = false;
    std::thread user([&] {
        HWND box = nullptr;
        WaitFor(
            [&] {
                return (box = AppControl::FindMessageBox(GetCurrentProcessId(), "Create MP3 file")) !=
                       nullptr;
            },
            kEncodeTimeoutMs);
        if (box != nullptr) {
            char text[512] = "";
            GetWindowTextA(box, text, sizeof text);
            boxTitle = text;
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            boxText = text;
            answered = AppControl::AnswerMessageBox(GetCurrentProcessId(), "Create MP3 file", IDOK, 10000);
        }
    });
    Encode(track);
    user.join();

    std::string expected = "Create MP3 file " + track.outputPath + " error: dwLastCode=0x3";
    EXPECT_TRUE(answered);
    EXPECT_EQ(boxTitle, "Error");
    EXPECT_EQ(boxText, expected);
    std::vector<std::string> log = ReadLogLines(m_folder / "qvl.log");
    EXPECT_EQ(log, std::vector<std::string>{expected});
    ExpectReported(track, "0:01");
    EXPECT_EQ(m_window.progress.size(), 1u) << "no chunk was read; only the last message";
}

TEST_F(Mp3EncoderRun, RefusesToStartWithoutItsLibraryOrForAFormatItCannotEncode) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, kPipeBytes));
    ScopedHandle readPipe(readEnd);
    ScopedHandle writePipe(writeEnd);
    _AUDIO_ENCODE_WORK_PARAM work;
    work.readPipe = readEnd;
    work.format = {WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
    work.abortEvent = AbortEvent();
    lstrcpynA(work.outputPath, (m_folder / "never.mp3").c_str(), MAX_PATH);

    Mp3Encoder unready;
    TestFolder empty;
    unready.Library().Load(empty / "lame_enc.dll");
    EXPECT_EQ(unready.IsReady(), 0);
    EXPECT_EQ(unready.StartEncode(&work), 0);

    // The library would end the process on a rate it has no frames for.
    work.format = {WAVE_FORMAT_PCM, 2, 1, 4, 4, 16, 0};
    work.sampleRate = 1;
    Mp3Encoder ready;
    ASSERT_EQ(ready.IsReady(), 1);
    EXPECT_EQ(ready.StartEncode(&work), 0);
    EXPECT_FALSE(FileExists(m_folder / "never.mp3"));
}
