#include "encode/Mp3Encoder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every field the encoder must leave at zero, whatever the triple.
void ExpectUnsetFieldsZero(const BE_CONFIG& config) {
    const auto& lhv1 = config.format.LHV1;
    EXPECT_EQ(lhv1.dwPsyModel, 0u);
    EXPECT_EQ(lhv1.dwEmphasis, 0u);
    EXPECT_EQ(lhv1.bPrivate, 0);
    EXPECT_EQ(lhv1.bCopyright, 0);
    EXPECT_EQ(lhv1.bOriginal, 0);
    EXPECT_EQ(lhv1.bStrictIso, 0);
    EXPECT_EQ(lhv1.nQuality, 0);
    EXPECT_TRUE(
        std::all_of(std::begin(lhv1.btReserved), std::end(lhv1.btReserved), [](BYTE b) { return b == 0; }));
}

// What CBR and VBR share.
void ExpectCommonFields(const BE_CONFIG& config) {
    const auto& lhv1 = config.format.LHV1;
    EXPECT_EQ(config.dwConfig, 256u) << "the LAME header";
    EXPECT_EQ(lhv1.dwStructVersion, 1u);
    EXPECT_EQ(lhv1.dwStructSize, 331u);
    EXPECT_EQ(lhv1.dwMpegVersion, 1u);
    EXPECT_EQ(lhv1.bCRC, 1);
    EXPECT_EQ(lhv1.bWriteVBRHeader, 1);
    EXPECT_EQ(lhv1.bNoRes, 1);
}

} // namespace

TEST(LameConfig, ConstantBitrateTakesTheBitrateWithTheCbrPreset) {
    BE_CONFIG config = MakeLameConfig({0, 192, 192}, 44100, 2);
    const auto& lhv1 = config.format.LHV1;
    ExpectCommonFields(config);
    ExpectUnsetFieldsZero(config);
    EXPECT_EQ(lhv1.dwBitrate, 192u);
    EXPECT_EQ(lhv1.dwMaxBitrate, 0u) << "a CBR maximum would be ignored, but is left out";
    EXPECT_EQ(lhv1.nPreset, 12);
    EXPECT_EQ(lhv1.bEnableVBR, 0);
    EXPECT_EQ(lhv1.nVBRQuality, 0);
    EXPECT_EQ(lhv1.dwVbrAbr_bps, 0u);
    EXPECT_EQ(lhv1.nVbrMethod, -1);
}

TEST(LameConfig, VariableBitrateTakesMinimumMaximumAndTheCdPreset) {
    BE_CONFIG config = MakeLameConfig({1, 128, 320}, 44100, 2);
    const auto& lhv1 = config.format.LHV1;
    ExpectCommonFields(config);
    ExpectUnsetFieldsZero(config);
    EXPECT_EQ(lhv1.dwBitrate, 128u);
    EXPECT_EQ(lhv1.dwMaxBitrate, 320u);
    EXPECT_EQ(lhv1.nPreset, 9000);
    EXPECT_EQ(lhv1.bEnableVBR, 1);
    EXPECT_EQ(lhv1.nVBRQuality, 1);
    EXPECT_EQ(lhv1.dwVbrAbr_bps, 0xFFFFFFFFu);
    EXPECT_EQ(lhv1.nVbrMethod, 2);
}

TEST(LameConfig, OneChannelIsMonoAndAnyOtherCountStereo) {
    EXPECT_EQ(MakeLameConfig({0, 128, 128}, 44100, 1).format.LHV1.nMode, 3);
    EXPECT_EQ(MakeLameConfig({0, 128, 128}, 44100, 2).format.LHV1.nMode, 0);
    EXPECT_EQ(MakeLameConfig({1, 128, 320}, 44100, 1).format.LHV1.nMode, 3) << "VBR too";
    EXPECT_EQ(MakeLameConfig({0, 128, 128}, 44100, 0).format.LHV1.nMode, 0);
}

TEST(LameConfig, SampleRateIsKeptWithoutResamplingAndZeroMeansCdRate) {
    BE_CONFIG cd = MakeLameConfig({0, 128, 128}, 0, 2);
    EXPECT_EQ(cd.format.LHV1.dwSampleRate, 44100u);
    EXPECT_EQ(cd.format.LHV1.dwReSampleRate, 44100u);

    BE_CONFIG dat = MakeLameConfig({1, 128, 320}, 48000, 2);
    EXPECT_EQ(dat.format.LHV1.dwSampleRate, 48000u);
    EXPECT_EQ(dat.format.LHV1.dwReSampleRate, 48000u);
}
