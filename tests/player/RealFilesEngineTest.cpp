// Real files through the whole engine, with its own three decoders, to the wave device: what the
// device received is set against an independent decode of the same file (sox for WAV, FFmpeg for
// MPEG audio and WMA, made by make_decoder_inputs.sh).
#include "player/engine/Engine.h"
#include "tests/player/DecoderTestSupport.h"
#include "tests/player/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace qvltest;

namespace {

// The first sample of a stereo stream whose level shows sound rather than the device's silence.
size_t FirstSound(const std::vector<int16_t>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 200) {
            return i - i % 2;
        }
    }
    return samples.size();
}

std::vector<int16_t> From(const std::vector<int16_t>& samples, size_t start) {
    return std::vector<int16_t>(samples.begin() + static_cast<long>(std::min(start, samples.size())),
                                samples.end());
}

} // namespace

// Catches a decoder that the engine picks wrongly for a real file, or whose PCM is damaged on its
// way to the device (dropped or repeated blocks, wrong format): only a right decode of the whole
// file correlates with the independent one from start to end.
TEST(RealFilesEngine, WavMp3LayerIIIAndIIAndWmaReachTheDeviceAsIndependentDecodersHearThem) {
    if (CapturePath().empty()) {
        GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: the engine tests need the ALSA capture";
    }
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE next = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EngineWindow window;
    EngineControl* engine = EngineCreate(window.Get(), finished, next);
    ASSERT_NE(engine, nullptr);
    window.Pump(200);
    for (const char* name : {"tone.wav", "layer3.mp3", "layer2.mp2", "wmav2.wma"}) {
        std::string path = DecoderInput(name);
        std::vector<int16_t> reference = ToSamples(ReadBytes(path + ".raw"));
        ASSERT_FALSE(reference.empty()) << name;
        ClearCapture();
        EnginePostOpen(engine, path.c_str());
        EnginePost(engine, kEnginePlay);
        ASSERT_TRUE(window.WaitFor(kEngineStateChanged, kEngineStopped, 60000)) << name;
        std::vector<int16_t> heard = From(CaptureSamples(), 0);
        heard = From(heard, FirstSound(heard));
        reference = From(reference, FirstSound(reference));
        // Encoder delays differ between decoders by a few hundred samples at most.
        int lag = BestLag(heard, reference, 4096);
        EXPECT_GT(Correlation(heard, reference, lag), 0.99) << name << " at lag " << lag;
        long long missing = static_cast<long long>(reference.size()) - static_cast<long long>(heard.size());
        EXPECT_LT(std::llabs(missing), 65536 * 2)
            << name << ": the device got " << heard.size() << " of " << reference.size() << " samples";
    }
    EngineDestroy(engine);
    CloseHandle(finished);
    CloseHandle(next);
}
