#include "app/Mp3EncoderSettings.h"

#include <gtest/gtest.h>

TEST(Mp3Preset, SetPresetCopiesTheRowAndOutOfRangeTakesRowZero) {
    Mp3EncoderSettings mp3;
    mp3.SetPreset(17);
    EXPECT_EQ(mp3.Current(), (Mp3Preset{1, 128, 192}));
    mp3.SetPreset(13);
    EXPECT_EQ(mp3.Current(), (Mp3Preset{0, 32, 32}));
    for (int outside : {21, -1, 1000}) {
        mp3.SetPreset(outside);
        EXPECT_EQ(mp3.Current(), (Mp3Preset{0, 320, 320})) << outside;
        EXPECT_EQ(mp3.GetPreset(), 0);
    }
}

TEST(Mp3Preset, GetPresetIgnoresTheMaximumOnlyForCbrRows) {
    Mp3EncoderSettings mp3;
    EXPECT_EQ(mp3.GetPreset(), Mp3EncoderSettings::kDefaultPreset) << "initial triple 0,160,160";
    mp3.Current() = {0, 160, 999};
    EXPECT_EQ(mp3.GetPreset(), 4);
    mp3.Current() = {1, 160, 999};
    EXPECT_EQ(mp3.GetPreset(), -1);
    mp3.Current() = {1, 160, 224};
    EXPECT_EQ(mp3.GetPreset(), 16);
    mp3.Current() = {0, 224, 320};
    EXPECT_EQ(mp3.GetPreset(), 2) << "a CBR triple never matches a VBR row";
    mp3.Current() = {0, 100, 100};
    EXPECT_EQ(mp3.GetPreset(), -1);
}

TEST(Mp3Preset, EveryRowRoundTripsAndIsDescribed) {
    Mp3EncoderSettings mp3;
    for (int i = 0; i < Mp3EncoderParams::kPresetCount; ++i) {
        mp3.SetPreset(i);
        EXPECT_EQ(mp3.GetPreset(), i);
    }
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(14), "224-320 bps-VBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(4), "160 bps-CBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(20), "32-96 bps-VBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(0), "320 bps-CBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(21), "320 bps-CBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(-1), "320 bps-CBR");
}

TEST(Mp3Preset, ReleasedParametersComeBackWithTheInitialTriple) {
    Mp3EncoderSettings mp3;
    mp3.SetPreset(0);
    mp3.ReleaseParams();
    EXPECT_EQ(mp3.Current(), (Mp3Preset{0, 160, 160}));
    EXPECT_EQ(mp3.id3v1, 1);
    EXPECT_EQ(mp3.id3v2, 1);
}
