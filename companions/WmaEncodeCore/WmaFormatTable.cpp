#include "companions/WmaEncodeCore/WmaFormatTable.h"

#include <array>
#include <cstdio>

namespace {

struct CodecEntry {
    int version;
    const char* description;
};

// The newer codec first: it is the default, and it sounds better at every bitrate.
constexpr std::array<CodecEntry, 2> kCodecs = {{
    {2, "Windows Media Audio 2"},
    {1, "Windows Media Audio 1"},
}};

// kbit/s, highest first as a list of quality steps reads. Below 48 kbit/s stereo music falls
// apart, and FFmpeg refuses less than 24.
constexpr std::array<int, 7> kBitrates = {192, 160, 128, 96, 80, 64, 48};

constexpr int kHighestRate = 48000;
constexpr int kLowestRate = 8000;

} // namespace

namespace WmaFormatTable {

int CodecCount() {
    return static_cast<int>(kCodecs.size());
}

int FormatCount(int codecIndex) {
    return codecIndex >= 0 && codecIndex < CodecCount() ? static_cast<int>(kBitrates.size()) : 0;
}

bool IsChoice(int codecIndex, int formatIndex) {
    return formatIndex >= 0 && formatIndex < FormatCount(codecIndex);
}

std::string CodecDescription(int codecIndex) {
    return codecIndex >= 0 && codecIndex < CodecCount() ? kCodecs[codecIndex].description : "";
}

std::string FormatDescription(int codecIndex, int formatIndex, int sampleRate, int channels) {
    if (!IsChoice(codecIndex, formatIndex)) {
        return {};
    }
    char text[64];
    // 44,100 Hz is "44 kHz", as every player names it.
    std::snprintf(text, sizeof text, "%d kbps, %d kHz, %s CBR", kBitrates[formatIndex], sampleRate / 1000,
                  channels == 1 ? "mono" : "stereo");
    return text;
}

WmaEncodeFormat Format(int codecIndex, int formatIndex, int sampleRate, int channels) {
    if (FormatCount(codecIndex) == 0) {
        codecIndex = kDefaultCodec;
    }
    if (!IsChoice(codecIndex, formatIndex)) {
        formatIndex = kDefaultFormat;
    }
    return {kCodecs[codecIndex].version, kBitrates[formatIndex] * 1000, sampleRate, channels == 1 ? 1 : 2};
}

bool IsEncodableInput(int sampleRate, int channels) {
    return sampleRate >= kLowestRate && sampleRate <= kHighestRate && (channels == 1 || channels == 2);
}

} // namespace WmaFormatTable
