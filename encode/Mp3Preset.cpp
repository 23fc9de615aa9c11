#include "encode/Mp3Preset.h"

const Mp3Preset Mp3EncoderParams::kPresets[kPresetCount] = {
    {0, 320, 320}, {0, 256, 256}, {0, 224, 224}, {0, 192, 192}, {0, 160, 160}, {0, 128, 128}, {0, 112, 112},
    {0, 96, 96},   {0, 80, 80},   {0, 64, 64},   {0, 56, 56},   {0, 48, 48},   {0, 40, 40},   {0, 32, 32},
    {1, 224, 320}, {1, 192, 256}, {1, 160, 224}, {1, 128, 192}, {1, 96, 160},  {1, 64, 128},  {1, 32, 96},
};

const Mp3Preset& Mp3EncoderParams::PresetRow(int index) {
    return index >= 0 && index < kPresetCount ? kPresets[index] : kPresets[0];
}
