#include "app/Mp3EncoderSettings.h"

#include <gtest/gtest.h>

// The rows a project file names are read and written through ProjectFileTest; here the triples
// no row has and the texts the options dialog shows.
TEST(Mp3Preset, GetPresetIgnoresTheMaximumOnlyForCbrRows) {
    Mp3EncoderSettings mp3;
    mp3.Current() = {0, 160, 999};
    EXPECT_EQ(mp3.GetPreset(), 4);
    mp3.Current() = {1, 160, 999};
    EXPECT_EQ(mp3.GetPreset(), -1);
    mp3.Current() = {0, 224, 320};
    EXPECT_EQ(mp3.GetPreset(), 2) << "a CBR triple never matches a VBR row";
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(14), "224-320 bps-VBR");
    EXPECT_EQ(Mp3EncoderSettings::DescribePreset(21), "320 bps-CBR");
    mp3.ReleaseParams();
    EXPECT_EQ(mp3.Current(), (Mp3Preset{0, 160, 160}));
}
