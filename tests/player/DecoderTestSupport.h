// What the decoder tests share: the generated input files with their independent decodes, a
// decoder run to the end under a time limit, and the comparisons.
#pragma once

#include "player/Modules.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvltest {

// A file that make_decoder_inputs.sh made before the tests (in the build tree, beside bin).
std::string DecoderInput(const std::string& name);
// The bytes of a file; empty when it is missing.
std::vector<uint8_t> ReadBytes(const std::string& path);
std::vector<int16_t> ToSamples(const std::vector<uint8_t>& bytes);

struct DecodeRun {
    int opened = 0;
    FileInfo info{};
    std::vector<uint8_t> pcm;
    int blocks = 0;
    bool finished = false; // GetPCMBlock reported the end of the file
};

using CodecInit = void (*)(CodecModule*);

// Opens the file with a fresh decoder, optionally seeks, then asks for blocks of blockBytes until
// the end. A decoder that does not finish within the time limit fails the test and ends the run
// (a hung thread cannot be taken back).
DecodeRun Decode(CodecInit init, const std::string& path, DWORD blockBytes = 262144, int seekNumerator = -1,
                 int seekDenominator = 1, DWORD timeLimitMs = 30000);

// The first sample of a stereo stream whose level shows sound rather than the device's silence.
size_t FirstSound(const std::vector<int16_t>& samples);
// The samples from start on.
std::vector<int16_t> From(const std::vector<int16_t>& samples, size_t start);

// Pearson correlation of a and b over their common part, b shifted by lag samples.
double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int lag = 0);
// The lag within +-maxLag at which the correlation is highest.
int BestLag(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int maxLag);

} // namespace qvltest
