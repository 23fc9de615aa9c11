// Real files through the whole engine, with its own decoders, to both outputs: what the device
// received is set against an independent decode of the same file (sox for WAV, FFmpeg for
// MPEG audio and WMA, made by make_decoder_inputs.sh).
#include "player/engine/Engine.h"
#include "tests/player/DecoderTestSupport.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/player/HttpTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

using namespace qvltest;

// Catches a decoder that the engine picks wrongly for a real file, or whose PCM is damaged on its
// way to either output (dropped or repeated blocks, wrong format), and an MPEG stream from the
// network that does not reach the MPEG decoder whole: only a right decode of the whole file
// correlates with the independent one from start to end.
TEST(RealFilesEngine, RealFilesReachBothOutputsAsIndependentDecodersHearThem) {
    if (CapturePath().empty()) {
        GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: the engine tests need the ALSA capture";
    }
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE next = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EngineWindow window;
    EngineControl* engine = EngineCreate(window.Get(), finished, next);
    ASSERT_NE(engine, nullptr);
    window.Pump(200);
    struct Case {
        const char* name;
        int output;       // 0 wave mapper, 1 DirectSound (whose mixer runs at 48 kHz in float)
        bool overNetwork; // served by a local HTTP server instead of opened as a file
    };
    const Case cases[] = {
        {"tone.wav", 0, false},      {"layer3.mp3", 0, false},    {"layer2.mp2", 0, false},
        {"wmav2.wma", 0, false},     {"layer3.mp3", 0, true},     {"tone_48.wav", 1, false},
        {"layer3_48.mp3", 1, false}, {"layer2_48.mp2", 1, false}, {"wmav2_48.wma", 1, false},
    };
    for (const Case& test : cases) {
        const std::string path = DecoderInput(test.name);
        const std::string what = std::string(test.name) + (test.overNetwork ? " over http" : "") +
                                 " through output " + std::to_string(test.output);
        std::vector<int16_t> reference = ToSamples(ReadBytes(path + ".raw"));
        ASSERT_FALSE(reference.empty()) << what;
        std::unique_ptr<OneShotHttpServer> server;
        if (test.overNetwork) {
            const std::vector<uint8_t> body = ReadBytes(path);
            server =
                std::make_unique<OneShotHttpServer>(std::string(body.begin(), body.end()), std::string::npos);
        }
        EnginePost(engine, kEngineSelectOutput, test.output);
        ClearCapture();
        EnginePostOpen(engine, server ? server->Url(test.name).c_str() : path.c_str());
        EnginePost(engine, kEnginePlay);
        ASSERT_TRUE(window.WaitFor(kEngineStateChanged, kEngineStopped, 60000)) << what;
        std::vector<int16_t> heard = CaptureSamples(400, 30000, test.output == 1);
        heard = From(heard, FirstSound(heard));
        reference = From(reference, FirstSound(reference));
        // Encoder delays differ between decoders by a few hundred samples at most.
        int lag = BestLag(heard, reference, 4096);
        EXPECT_GT(Correlation(heard, reference, lag), 0.99) << what << " at lag " << lag;
        long long missing = static_cast<long long>(reference.size()) - static_cast<long long>(heard.size());
        EXPECT_LT(std::llabs(missing), 65536 * 2)
            << what << ": the device got " << heard.size() << " of " << reference.size() << " samples";
    }
    EngineDestroy(engine);
    CloseHandle(finished);
    CloseHandle(next);
}
