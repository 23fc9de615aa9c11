// The WMA formats the library offers: both codecs FFmpeg encodes, each at the constant bitrates
// that suit music, for the input format the codec information manager was set up with. A choice is
// a pair of positions in these tables, and the project file keeps that pair, so entries are only
// ever added at the end.
#pragma once

#include <string>

// What one encode is set up with.
struct WmaEncodeFormat {
    int codecVersion; // 1 or 2: the WMA generation
    int bitrate;      // bit/s
    int sampleRate;   // Hz
    int channels;     // 1 or 2
};

namespace WmaFormatTable {

// The choice a new manager starts with, and the one the project file's absent attributes give:
// WMA 2 at its highest bitrate.
constexpr int kDefaultCodec = 0;
constexpr int kDefaultFormat = 0;

int CodecCount();
int FormatCount(int codecIndex);
bool IsChoice(int codecIndex, int formatIndex);

// "Windows Media Audio 2"
std::string CodecDescription(int codecIndex);
// "128 kbps, 44 kHz, stereo CBR": what tells the formats apart for the input format given.
std::string FormatDescription(int codecIndex, int formatIndex, int sampleRate, int channels);

// The encode a choice stands for; a codec chosen without a format gets its first format, and a
// choice outside the tables the default.
WmaEncodeFormat Format(int codecIndex, int formatIndex, int sampleRate, int channels);

// Whether the encoders can take this input format at all (FFmpeg's WMA encoders go up to 48 kHz
// and two channels).
bool IsEncodableInput(int sampleRate, int channels);

} // namespace WmaFormatTable
