#include "tests/support/Mp3FileLayout.h"

namespace qvltest {

namespace {

constexpr size_t kId3v1Bytes = 128;
constexpr int kSamplesPerFrame = 1152;

unsigned Byte(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

uint32_t BigEndian32(const std::string& bytes, size_t at) {
    return Byte(bytes, at) << 24 | Byte(bytes, at + 1) << 16 | Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
}

// ID3v2 sizes are "syncsafe": 7 bits per byte.
size_t Id3v2Bytes(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) {
        return 0;
    }
    size_t size = 0;
    for (size_t i = 6; i < 10; ++i) {
        size = size << 7 | (Byte(bytes, i) & 0x7F);
    }
    bool footer = (Byte(bytes, 5) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

testing::AssertionResult ReadFrame(const std::string& bytes, size_t at, size_t end, Mp3Frame& frame) {
    static constexpr int kLayer3Kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                            112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int kRates[4] = {44100, 48000, 32000, 0};
    if (end - at < 6) {
        return testing::AssertionFailure() << end - at << " stray bytes at " << at;
    }
    if (Byte(bytes, at) != 0xFF || (Byte(bytes, at + 1) & 0xE0) != 0xE0) {
        return testing::AssertionFailure() << "no frame sync at " << at;
    }
    if ((Byte(bytes, at + 1) & 0x1E) != 0x1A) {
        return testing::AssertionFailure() << "not MPEG-1 Layer III at " << at;
    }
    frame.offset = at;
    frame.bitrateKbps = kLayer3Kbps[Byte(bytes, at + 2) >> 4];
    frame.sampleRate = kRates[(Byte(bytes, at + 2) >> 2) & 3];
    if (frame.bitrateKbps == 0 || frame.sampleRate == 0) {
        return testing::AssertionFailure() << "bad bitrate or sample rate index at " << at;
    }
    bool padding = (Byte(bytes, at + 2) & 2) != 0;
    frame.mono = (Byte(bytes, at + 3) >> 6) == 3;
    frame.length = 144 * frame.bitrateKbps * 1000 / frame.sampleRate + (padding ? 1 : 0);
    if (frame.length > end - at) {
        return testing::AssertionFailure() << "the frame at " << at << " runs past the end";
    }
    return testing::AssertionSuccess();
}

void ReadInfoTag(const std::string& bytes, Mp3FileLayout& layout) {
    // The tag sits where the side information would end without a CRC, with a CRC too.
    const Mp3Frame& first = layout.frames.front();
    size_t at = first.offset + 4 + (first.mono ? 17 : 32);
    if (at + 16 > first.offset + first.length) {
        return;
    }
    std::string id = bytes.substr(at, 4);
    if (id != "Xing" && id != "Info") {
        return;
    }
    layout.infoId = id;
    uint32_t flags = BigEndian32(bytes, at + 4);
    size_t field = at + 8;
    if (flags & 1) {
        layout.infoFrames = BigEndian32(bytes, field);
        field += 4;
    }
    if (flags & 2) {
        layout.infoBytes = BigEndian32(bytes, field);
    }
}

} // namespace

double Mp3FileLayout::AudioSeconds() const {
    if (frames.empty()) {
        return 0;
    }
    size_t audio = frames.size() - (infoId.empty() ? 0 : 1);
    return static_cast<double>(audio) * kSamplesPerFrame / frames.front().sampleRate;
}

testing::AssertionResult ReadMp3FileLayout(const std::string& bytes, Mp3FileLayout& layout) {
    layout = {};
    layout.id3v2Bytes = Id3v2Bytes(bytes);
    size_t end = bytes.size();
    if (end >= layout.id3v2Bytes + kId3v1Bytes && bytes.compare(end - kId3v1Bytes, 3, "TAG") == 0) {
        layout.id3v1 = true;
        end -= kId3v1Bytes;
    }
    for (size_t at = layout.id3v2Bytes; at < end;) {
        Mp3Frame frame;
        testing::AssertionResult read = ReadFrame(bytes, at, end, frame);
        if (!read) {
            return read;
        }
        layout.frames.push_back(frame);
        at += frame.length;
    }
    if (layout.frames.empty()) {
        return testing::AssertionFailure() << "no MPEG frames";
    }
    ReadInfoTag(bytes, layout);
    return testing::AssertionSuccess() << layout.frames.size() << " frames";
}

testing::AssertionResult IsAudioBetweenTags(const std::string& bytes, const std::string& audio) {
    Mp3FileLayout layout;
    testing::AssertionResult read = ReadMp3FileLayout(bytes, layout);
    if (!read) {
        return read;
    }
    if (layout.id3v2Bytes == 0 || !layout.id3v1) {
        return testing::AssertionFailure() << "not tagged at both ends";
    }
    if (bytes.size() != layout.id3v2Bytes + audio.size() + 128 ||
        bytes.compare(layout.id3v2Bytes, audio.size(), audio) != 0) {
        return testing::AssertionFailure() << "the audio between the tags differs";
    }
    return testing::AssertionSuccess();
}

} // namespace qvltest
