// How much the pipeline (feeder thread, 1 MiB pipe, encoder thread) costs over calling
// lame_enc.dll directly on the same PCM with the same configuration. Both encode the same
// captured track in alternation; the medians and their ratio are printed.
#include "app/Mp3EncoderSettings.h"
#include "bench/BenchSupport.h"
#include "capture/CaptureIntake.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr,
                "usage: pipeline_bench captured.wav output-folder [rounds [first-round [warm-up.wav]]]\n");
        return 2;
    }
    std::string source = argv[1];
    std::string folder = argv[2];
    int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    // Rounds are numbered across calls, so that a script running one round a call still
    // alternates which of the two goes first.
    int firstRound = argc > 4 ? std::max(1, atoi(argv[4])) : 1;
    Mp3EncoderSettings mp3;
    mp3.SetPreset(Mp3EncoderSettings::kDefaultPreset);
    const Mp3Preset triple = mp3.Current();

    CaptureIntake intake;
    // Tags are file work after the encode, not pipeline cost: both ways leave them out.
    intake.SetChoices({{}, {}, OutputFormat::Mp3, {triple, false, false}});
    TrackFinisher& finish = intake.Finisher();
    // The first encode of a process pays for loading the library, first touches of memory and a
    // processor still coming up to speed: a short track is encoded both ways, untimed, first.
    if (argc > 5) {
        EncodeDirectly(argv[5], folder + "\\warm-up.mp3", triple);
        finish.EncodeTrack(OutputFormat::Mp3, argv[5], folder + "\\warm-up.mp3");
    }
    std::vector<double> direct, pipeline;
    for (int round = firstRound; round < firstRound + rounds; ++round) {
        bool directOk = false;
        bool pipelineOk = false;
        auto timeDirect = [&] {
            direct.push_back(
                Time([&] { directOk = EncodeDirectly(source, folder + "\\direct.mp3", triple); }));
        };
        auto timePipeline = [&] {
            pipeline.push_back(Time([&] {
                pipelineOk = finish.EncodeTrack(OutputFormat::Mp3, source, folder + "\\pipeline.mp3") == 1;
            }));
        };
        // Whichever runs second meets a warmer or a more tired machine: the order alternates.
        if (round % 2 == 1) {
            timeDirect();
            timePipeline();
        } else {
            timePipeline();
            timeDirect();
        }
        if (!directOk || !pipelineOk) {
            fprintf(stderr, "pipeline_bench: an encode failed\n");
            return 1;
        }
        printf("round %d: direct %.3f s, pipeline %.3f s\n", round, direct.back(), pipeline.back());
    }
    // The fastest round is the one least disturbed by the rest of the machine.
    double ratio = Median(pipeline) / Median(direct);
    double best =
        *std::min_element(pipeline.begin(), pipeline.end()) / *std::min_element(direct.begin(), direct.end());
    printf("median: direct %.3f s, pipeline %.3f s, pipeline/direct %.4f (%+.2f%%)\n", Median(direct),
           Median(pipeline), ratio, (ratio - 1) * 100);
    printf("fastest: pipeline/direct %.4f (%+.2f%%)\n", best, (best - 1) * 100);
    return 0;
}
