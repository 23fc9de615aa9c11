#include "app/Messages.h"
#include "app/framework/Scoped.h"
#include "capture/CaptureIntake.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "encode/LameLibrary.h"
#include "encode/Mp3Encoder.h"
#include "encode/PipelineEncoder.h"
#include "encode/WavEncoder.h"
#include "encode/WaveFile.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <cstring>
#include <thread>

using namespace qvltest;

namespace {

DWORD Le32(const std::string& bytes, size_t offset) {
    DWORD value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// A captured track inside a burn folder, as the intake names it.
struct CapturedTrack {
    TestFolder root;
    std::string burn = root / "00000001";
    std::string wav = burn + "\\Track02.wav";
    std::string pcm;

    explicit CapturedTrack(size_t bytes) : pcm(TestPcm(bytes)) {
        CreateDirectoryA(burn.c_str(), nullptr);
        WriteFile(wav, WavBytes(pcm));
    }
};

} // namespace

TEST(WaveFile, SizesItsWriterNeverFixedGiveTheWholeFramesTheFileHolds) {
    TestFolder folder;
    std::string pcm = TestPcm(400);
    std::string good = WavBytes(pcm);
    auto withSizes = [](std::string wav, DWORD riff, DWORD data) {
        std::memcpy(&wav[4], &riff, 4);
        std::memcpy(&wav[40], &data, 4);
        return wav;
    };
    struct Case {
        const char* what;
        std::string bytes;
        size_t data;
    };
    const Case cases[] = {
        {"sizes still 0, as a writer that stopped leaves them", withSizes(good, 0, 0), 400},
        {"placeholder sizes", withSizes(good, 0xFFFFFFFF, 0xFFFFFFFF), 400},
        {"cut off in the middle of a frame", good.substr(0, 44 + 102), 100},
        {"honest sizes with a chunk behind the data",
         withSizes(good + std::string("LIST\4\0\0\0abcd", 12), 36 + 400 + 12, 400), 400},
    };
    for (const Case& c : cases) {
        std::string path = folder / "lying.wav";
        WriteFile(path, c.bytes);
        WaveFile file;
        ASSERT_EQ(file.Open(path.c_str(), nullptr, WaveFile::kRead), S_OK) << c.what;
        EXPECT_EQ(file.DataSize(), c.data) << c.what;
        std::string back(1000, '\0');
        DWORD read = 0;
        EXPECT_EQ(file.Read(reinterpret_cast<BYTE*>(back.data()), 1000, &read), S_OK) << c.what;
        EXPECT_EQ(back.substr(0, read), pcm.substr(0, c.data)) << c.what;
    }
}

TEST(WavPipeline, AnAbortInMidTrackLeavesAValidShorterFileThatIsReported) {
    // Ten minutes: copying a shorter track can outrun the abort on a warm disk cache.
    CapturedTrack track(176400 * 600);
    CaptureIntake intake;
    EncoderWindow window;
    intake.Driver().notifyWindow = window.Get();
    std::string output = track.root / "aborted.wav";
    int result = -1;
    std::thread conversion(
        [&] { result = intake.Finisher().EncodeTrack(OutputFormat::Wav, track.wav, output); });
    // The conversion thread blocks in the driver; this thread plays the window's part.
    WaitFor(
        [&] {
            window.Pump();
            return !window.progress.empty();
        },
        10000);
    SetEvent(intake.Driver().abortEvent);
    conversion.join();
    window.Pump();
    EXPECT_EQ(result, 1);
    ASSERT_EQ(window.finished.size(), 1u);
    std::string bytes = ReadFile(output);
    ASSERT_GE(bytes.size(), 56u);
    EXPECT_LT(bytes.size(), 56 + track.pcm.size()) << "stopped early";
    DWORD data = Le32(bytes, 52);
    EXPECT_EQ(bytes.size(), 56 + data + data % 2) << "sizes fixed for what was written";
    EXPECT_EQ(bytes.substr(56, data), track.pcm.substr(0, data));
}

TEST(WavPipeline, MissingSourcesAndUncreatableOutputsDoNotHang) {
    CapturedTrack track(4 * 1000);
    CaptureIntake intake;
    EncoderWindow window;
    intake.Driver().notifyWindow = window.Get();
    EXPECT_EQ(
        intake.Finisher().EncodeTrack(OutputFormat::Wav, track.burn + "\\Track09.wav", track.root / "x.wav"),
        0);
    std::string unreachable = track.root / "no such folder\\out.wav";
    EXPECT_EQ(intake.Finisher().EncodeTrack(OutputFormat::Wav, track.wav, unreachable), 1);
    window.Pump();
    EXPECT_FALSE(FileExists(unreachable));
    ASSERT_EQ(window.finished.size(), 1u) << "reported with the output path that does not exist";
    EXPECT_EQ(window.finished[0]->outputPath, unreachable);
}

TEST(PipelineEncoder, EachEncoderTakesOnlyTheFormatsItCanEncode) {
    auto pcm = [](WORD channels, DWORD rate, WORD bits) {
        auto frame = static_cast<WORD>(channels * bits / 8);
        return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * frame, frame, bits, 0};
    };
    WAVEFORMATEX lyingFrame = pcm(2, 44100, 16);
    lyingFrame.nBlockAlign = 2;
    WAVEFORMATEX floats = pcm(2, 44100, 32);
    floats.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    struct Case {
        const char* what;
        WAVEFORMATEX format;
        bool mp3;
        bool wav;
    };
    const Case cases[] = {
        {"CD audio", pcm(2, 44100, 16), true, true},
        {"8-bit mono at the lowest MPEG 2.5 rate", pcm(1, 8000, 8), true, true},
        {"a rate between the MPEG rates", pcm(2, 44000, 16), false, true},
        {"a rate above the MPEG rates", pcm(2, 96000, 16), false, true},
        {"1 Hz", pcm(2, 1, 16), false, false},
        {"a rate beyond any player", pcm(2, 400000, 16), false, false},
        {"three channels", pcm(3, 44100, 16), false, false},
        {"24 bits", pcm(2, 44100, 24), false, false},
        {"a frame size the channels and bits do not give", lyingFrame, false, false},
        {"floating point", floats, false, false},
    };
    Mp3Encoder mp3;
    WavEncoder wav;
    for (const Case& c : cases) {
        EXPECT_EQ(mp3.IsFormatSupported(c.format), c.mp3) << c.what;
        EXPECT_EQ(wav.IsFormatSupported(c.format), c.wav) << c.what;
    }
}

// The library would end the process on a rate it has no frames for: the encoder refuses to start
// on it whoever calls it, and so does one without its library.
TEST(PipelineEncoder, TheMp3EncoderRefusesToStartWithoutItsLibraryOrForAFormatItCannotEncode) {
    TestFolder folder;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0x100000));
    ScopedHandle readPipe(readEnd);
    ScopedHandle writePipe(writeEnd);
    ScopedHandle abort(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    _AUDIO_ENCODE_WORK_PARAM work;
    work.readPipe = readEnd;
    work.format = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    work.abortEvent = abort.Get();
    lstrcpynA(work.outputPath, (folder / "never.mp3").c_str(), MAX_PATH);

    Mp3Encoder unready;
    unready.Library().Load(folder / "lame_enc.dll");
    EXPECT_EQ(unready.IsReady(), 0);
    EXPECT_EQ(unready.StartEncode(&work), 0);

    work.format = {WAVE_FORMAT_PCM, 2, 1, 4, 4, 16, 0};
    work.sampleRate = 1;
    Mp3Encoder ready;
    ASSERT_EQ(ready.IsReady(), 1);
    EXPECT_EQ(ready.StartEncode(&work), 0);
    EXPECT_FALSE(FileExists(folder / "never.mp3"));
}
