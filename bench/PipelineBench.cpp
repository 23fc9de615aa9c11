// How much the pipeline (feeder thread, 1 MiB pipe, encoder thread) costs over calling
// lame_enc.dll directly on the same PCM with the same configuration. Both encode the same
// captured track in alternation; the medians and their ratio are printed.
#include "app/Settings.h"
#include "capture/CaptureIntake.h"
#include "encode/LameLibrary.h"
#include "encode/Mp3Encoder.h"
#include "encode/WaveFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work> double Time(Work work) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

// The direct way: read the captured PCM and hand it to the library in its own chunk size.
bool EncodeDirectly(const std::string& source, const std::string& output, const Mp3Preset& triple) {
    LameLibrary lame;
    WaveFile wave;
    if (lame.IsLoaded() == 0 || FAILED(wave.Open(source.c_str(), nullptr, WaveFile::kRead))) {
        return false;
    }
    const LameEntryPoints& api = lame.Api();
    BE_CONFIG config = MakeLameConfig(triple, wave.Format()->nSamplesPerSec, wave.Format()->nChannels);
    DWORD samples = 0, bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (api.beInitStream(&config, &samples, &bufferSize, &stream) != 0) {
        return false;
    }
    HANDLE file =
        CreateFileA(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<BYTE> pcm(samples * 2), out(bufferSize);
    DWORD read = 0, produced = 0, written = 0;
    do {
        wave.Read(pcm.data(), static_cast<DWORD>(pcm.size()), &read);
        if (read > 0) {
            api.beEncodeChunk(stream, read / 2, reinterpret_cast<PSHORT>(pcm.data()), out.data(), &produced);
            WriteFile(file, out.data(), produced, &written, nullptr);
        }
    } while (read == pcm.size());
    api.beDeinitStream(stream, out.data(), &produced);
    WriteFile(file, out.data(), produced, &written, nullptr);
    api.beCloseStream(stream);
    CloseHandle(file);
    api.beWriteVBRHeader(output.c_str());
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: pipeline_bench captured.wav output-folder [rounds]\n");
        return 2;
    }
    std::string source = argv[1];
    std::string folder = argv[2];
    int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    Mp3EncoderSettings& mp3 = GetSettings().mp3;
    mp3.SetPreset(Mp3EncoderSettings::kDefaultPreset);
    // Tags are file work after the encode, not pipeline cost: both ways leave them out.
    mp3.id3v1 = 0;
    mp3.id3v2 = 0;
    const Mp3Preset triple = mp3.Current();

    CaptureIntake intake;
    std::vector<double> direct, pipeline;
    for (int round = 0; round < rounds; ++round) {
        bool ok = true;
        direct.push_back(Time([&] { ok = EncodeDirectly(source, folder + "\\direct.mp3", triple); }));
        pipeline.push_back(
            Time([&] { ok = ok && intake.EncodeTrackToMp3(source, folder + "\\pipeline.mp3") == 1; }));
        if (!ok) {
            fprintf(stderr, "pipeline_bench: an encode failed\n");
            return 1;
        }
        printf("round %d: direct %.3f s, pipeline %.3f s\n", round + 1, direct.back(), pipeline.back());
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
