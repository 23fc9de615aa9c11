// The MP3 choices of the settings: ID3 flags and the bitrate preset.
#pragma once

#include "encode/Mp3Preset.h"

#include <cstdint>
#include <memory>
#include <string>

class Mp3EncoderSettings {
public:
    static constexpr int kDefaultPreset = 4;

    int32_t id3v1 = 1;
    int32_t id3v2 = 1;

    // Creates the parameter object with its initial triple (start-up), or drops it (shut-down).
    void CreateParams();
    void ReleaseParams();

    void SetPreset(int index);
    // The first row equal to the current triple (CBR rows compare VBR flag and bitrate only),
    // or -1.
    int GetPreset();
    // "%d bps-CBR" or "%d-%d bps-VBR" for the row (row 0 for an index outside the table).
    static std::string DescribePreset(int index);

    // The triple the encoder uses; the parameter object is created on first use.
    Mp3Preset& Current();

private:
    std::unique_ptr<Mp3EncoderParams> m_params;
};
