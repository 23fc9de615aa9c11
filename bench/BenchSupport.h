// What the benchmarks share: the performance counter, and the direct lame_enc.dll encode that
// the program's own MP3 encoding is held against.
#pragma once

#include "app/Mp3EncoderSettings.h"

#include <windows.h>

#include <string>
#include <vector>

LARGE_INTEGER Counter();
double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);

template <typename Work> double Time(Work work) {
    LARGE_INTEGER start = Counter();
    work();
    return Seconds(start, Counter());
}

double Median(std::vector<double> values);

// The direct way: read the captured PCM and hand it to the library in its own chunk size, with
// the configuration the program's MP3 encoder builds for the same preset.
bool EncodeDirectly(const std::string& source, const std::string& output, const Mp3Preset& triple);
