// The WMA driver against stand-ins for the WMA library's two objects: what the pipeline gives a
// library encoder, with one pass or two, and how the track finish treats what it leaves.
#include "capture/CaptureIntake.h"
#include "companions/AudioTagCore/AudioEncoder.h"
#include "companions/AudioTagCore/EncodeOutcome.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qvltest;

namespace {

// Only the choice of passes matters to the pipeline.
class PassesManager final : public IWMACodecInfoManager {
public:
    explicit PassesManager(int passes) : m_passes(passes) {}
    int GetVersion() override { return 1; }
    int Initialise(int, int, int) override { return 1; }
    void GetInputFormat(int*, int*, int*) override {}
    void ClearCatalogue() override {}
    int BuildCatalogue() override { return 1; }
    WmaCodecList* GetCatalogue() override { return nullptr; }
    void GetChoice(int* codec, int* format) override { *codec = *format = 0; }
    int SetChoice(int, int) override { return 1; }
    int IsTwoPass() override { return m_passes == 2 ? 1 : 0; }
    WmaFormatRecord* GetChosenFormat() override { return nullptr; }
    void Release() override {}

private:
    int m_passes;
};

// Reads what a library encoder is given, as the real one must: the second pipe to its end first,
// then the main pipe; writes the bytes of the main pass as its output and says in the driver's
// record that it is whole, or writes nothing when told to fail; sets the done event last.
class RecordingEncoder final : public CAudioEncoder {
public:
    int StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) override {
        m_driverWork = work;
        m_work = *work;
        m_thread = std::thread([this] { Run(); });
        return 1;
    }
    int IsReady() override { return 1; }
    ~RecordingEncoder() override {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    bool failing = false;
    std::string firstPass;
    std::string mainPass;
    DWORD formatConstant = 0;

private:
    static std::string Drain(HANDLE pipe) {
        std::string bytes;
        char block[4096];
        DWORD read = 0;
        while (ReadFile(pipe, block, sizeof block, &read, nullptr) && read > 0) {
            bytes.append(block, read);
        }
        CloseHandle(pipe);
        return bytes;
    }
    void Run() {
        formatConstant = m_work.formatConstant;
        if (m_work.secondReadPipe != nullptr) {
            firstPass = Drain(m_work.secondReadPipe);
        }
        mainPass = Drain(m_work.readPipe);
        if (!failing) {
            WriteFile(m_work.outputPath, mainPass);
            m_driverWork->reserved[0] = EncodeOutcome::kWhole;
        }
        SetEvent(m_work.doneEvent);
    }

    _AUDIO_ENCODE_WORK_PARAM* m_driverWork = nullptr;
    _AUDIO_ENCODE_WORK_PARAM m_work;
    std::thread m_thread;
};

} // namespace

TEST(WmaDriver, ATwoPassFormatGetsTheWholeTrackTwiceFirstThroughItsOwnPipe) {
    TestFolder root;
    // Larger than a pipe holds: the first pass must be read while it is being written.
    std::string pcm = TestPcm(3 * 1024 * 1024);
    WriteFile(root / "Track00.wav", WavBytes(pcm));
    for (int passes : {1, 2}) {
        PassesManager manager(passes);
        RecordingEncoder encoder;
        CaptureIntake intake;
        intake.SetChoices({root.Path(), "<Number>", OutputFormat::Wma, {}, &manager, &encoder});
        bool complete = false;
        std::string output = root / ("out" + std::to_string(passes) + ".wma");
        ASSERT_EQ(intake.Finisher().EncodeTrack(OutputFormat::Wma, root / "Track00.wav", output, &complete),
                  1);
        EXPECT_TRUE(complete);
        EXPECT_TRUE(encoder.mainPass == pcm) << passes << " passes";
        EXPECT_TRUE(encoder.firstPass == (passes == 2 ? pcm : std::string())) << passes << " passes";
        EXPECT_EQ(encoder.formatConstant, 192u);
    }
}

TEST(WmaDriver, WhatTheLibraryCouldNotWriteKeepsTheCapturedTrack) {
    TestFolder root;
    std::string burn = root / "00000001";
    CreateDirectoryA(burn.c_str(), nullptr);
    std::string wav = WavBytes(TestPcm(44100 * 4));
    PassesManager manager(1);
    RecordingEncoder failing;
    failing.failing = true;
    CaptureIntake intake;
    intake.SetChoices({root / "out", "<Number>", OutputFormat::Wma, {}, &manager, &failing});
    WriteFile(burn + "\\Track00.wav", wav);
    EXPECT_EQ(intake.Finisher().ConvertCapturedTrack((burn + "\\Track00.wav").c_str()), 1);
    EXPECT_EQ(ReadFile(root / "out\\01.WAV"), wav) << "no output: the capture is kept under the output name";

    // A manager without an encoder object: nothing is encoded, and nothing lost either.
    intake.SetChoices({root / "out", "<Number>", OutputFormat::Wma, {}, &manager, nullptr});
    WriteFile(burn + "\\Track01.wav", wav);
    EXPECT_EQ(intake.Finisher().ConvertCapturedTrack((burn + "\\Track01.wav").c_str()), 0);
    EXPECT_FALSE(FileExists(root / "out\\02.WMA"));
    EXPECT_EQ(ReadFile(root / "out\\02.WAV"), wav);

    // Without the library the WMA choice is written as MP3.
    intake.SetChoices({root / "out", "<Number>", OutputFormat::Wma, {}, nullptr, nullptr});
    WriteFile(burn + "\\Track02.wav", wav);
    EXPECT_EQ(intake.Finisher().ConvertCapturedTrack((burn + "\\Track02.wav").c_str()), 1);
    EXPECT_TRUE(FileExists(root / "out\\03.MP3"));
}
