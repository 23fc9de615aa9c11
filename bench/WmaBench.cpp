// One captured track through the program's pipeline to WMA at 128 kbps with the WMA library, timed:
// run once per round by run-wma-bench.sh, beside Debian's ffmpeg on the same WAV.
//   wma_bench captured.wav output-folder round [warm-up.wav]
#include "bench/BenchSupport.h"
#include "capture/CaptureIntake.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "encode/WmaCodecCatalogue.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The manager's WMA 2 format of that bitrate, by its description.
bool ChooseBitrate(IWMACodecInfoManager& manager, const char* kbps) {
    WmaCodecList* list = manager.GetCatalogue();
    for (int c = 0; list != nullptr && c < list->codecCount; ++c) {
        const WmaCodecRecord& codec = *list->codecs[c];
        if (std::strstr(codec.description, "Audio 2") == nullptr) {
            continue;
        }
        for (int f = 0; f < codec.formatCount; ++f) {
            if (std::strncmp(codec.formats[f]->description, kbps, std::strlen(kbps)) == 0) {
                return manager.SetChoice(c, f) != 0;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: wma_bench captured.wav output-folder round [warm-up.wav]\n");
        return 2;
    }
    WmaCodecCatalogue wma;
    wma.Create();
    if (!wma.IsAvailable() || wma.Encoder() == nullptr || !ChooseBitrate(*wma.Manager(), "128 kbps")) {
        fprintf(stderr, "wma_bench: no WMA library, or no 128 kbps format in it\n");
        return 1;
    }
    CaptureIntake intake;
    intake.SetChoices({{}, {}, OutputFormat::Wma, {}, wma.Manager(), wma.Encoder()});
    std::string folder = argv[2];
    // The first encode of a process pays for loading and first touches: a short one, untimed.
    if (argc > 4) {
        intake.Finisher().EncodeTrack(OutputFormat::Wma, argv[4], folder + "\\warm-up.wma");
    }
    bool complete = false;
    double seconds = Time([&] {
        intake.Finisher().EncodeTrack(OutputFormat::Wma, argv[1], folder + "\\pipeline.wma", &complete);
    });
    if (!complete) {
        fprintf(stderr, "wma_bench: the encode failed\n");
        return 1;
    }
    printf("round %s: pipeline %.3f s\n", argv[3], seconds);
    return 0;
}
