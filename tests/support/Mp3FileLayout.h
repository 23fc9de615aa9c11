// Reads an MP3 file the way a player would, without help from the encoder: an optional ID3v2 tag
// in front, a chain of MPEG-1 Layer III frames, an optional ID3v1 tag at the end, and the
// Xing/Info tag in the first frame.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qvltest {

struct Mp3Frame {
    size_t offset = 0;
    size_t length = 0;
    int bitrateKbps = 0;
    int sampleRate = 0;
    bool mono = false;
};

struct Mp3FileLayout {
    size_t id3v2Bytes = 0; // whole tag, header included; 0 without one
    bool id3v1 = false;
    std::vector<Mp3Frame> frames; // the first one holds the Xing/Info tag when there is one
    std::string infoId;           // "Xing", "Info" or empty
    uint32_t infoFrames = 0;      // frame count of the tag: the frames after it
    uint32_t infoBytes = 0;       // byte count of the tag: the whole frame chain

    // Audio frames (the tag frame left out) in seconds.
    double AudioSeconds() const;
};

// Succeeds when the whole file is made of the parts above, each frame starting exactly where the
// length in the previous header says.
testing::AssertionResult ReadMp3FileLayout(const std::string& bytes, Mp3FileLayout& layout);

// Succeeds when the file is an ID3v2 tag, exactly the given audio bytes, and an ID3v1 tag: a tag
// writer left the audio untouched.
testing::AssertionResult IsAudioBetweenTags(const std::string& bytes, const std::string& audio);

} // namespace qvltest
