#include "app/Mp3EncoderSettings.h"

#include <cstdio>

const Mp3Preset Mp3EncoderParams::kPresets[kPresetCount] = {
    {0, 320, 320}, {0, 256, 256}, {0, 224, 224}, {0, 192, 192}, {0, 160, 160}, {0, 128, 128}, {0, 112, 112},
    {0, 96, 96},   {0, 80, 80},   {0, 64, 64},   {0, 56, 56},   {0, 48, 48},   {0, 40, 40},   {0, 32, 32},
    {1, 224, 320}, {1, 192, 256}, {1, 160, 224}, {1, 128, 192}, {1, 96, 160},  {1, 64, 128},  {1, 32, 96},
};

const Mp3Preset& Mp3EncoderParams::PresetRow(int index) {
    return index >= 0 && index < kPresetCount ? kPresets[index] : kPresets[0];
}

void Mp3EncoderSettings::CreateParams() {
    m_params = std::make_unique<Mp3EncoderParams>();
}

void Mp3EncoderSettings::ReleaseParams() {
    m_params.reset();
}

Mp3Preset& Mp3EncoderSettings::Current() {
    if (!m_params) {
        CreateParams();
    }
    return m_params->current;
}

void Mp3EncoderSettings::SetPreset(int index) {
    Current() = Mp3EncoderParams::PresetRow(index);
}

int Mp3EncoderSettings::GetPreset() {
    const Mp3Preset& current = Current();
    for (int i = 0; i < Mp3EncoderParams::kPresetCount; ++i) {
        const Mp3Preset& row = Mp3EncoderParams::kPresets[i];
        bool same = row.vbr == current.vbr && row.bitrate == current.bitrate &&
                    (row.vbr == 0 || row.maxBitrate == current.maxBitrate);
        if (same) {
            return i;
        }
    }
    return -1;
}

std::string Mp3EncoderSettings::DescribePreset(int index) {
    const Mp3Preset& row = Mp3EncoderParams::PresetRow(index);
    char text[48];
    if (row.vbr == 0) {
        snprintf(text, sizeof text, "%d bps-CBR", static_cast<int>(row.bitrate));
    } else {
        snprintf(text, sizeof text, "%d-%d bps-VBR", static_cast<int>(row.bitrate),
                 static_cast<int>(row.maxBitrate));
    }
    return text;
}
