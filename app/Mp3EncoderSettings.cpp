#include "app/Mp3EncoderSettings.h"

#include <cstdio>

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
