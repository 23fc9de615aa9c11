#include "app/Settings.h"

#include <gtest/gtest.h>

TEST(OutputFormat, DecidedFromTheCodecText) {
    EXPECT_EQ(OutputFormatFromCodecText("mp3", true), OutputFormat::Mp3);
    EXPECT_EQ(OutputFormatFromCodecText("WAV", false), OutputFormat::Wav);
    EXPECT_EQ(OutputFormatFromCodecText("wav", true), OutputFormat::Wav);
    EXPECT_EQ(OutputFormatFromCodecText("wma", true), OutputFormat::Wma);
    EXPECT_EQ(OutputFormatFromCodecText("WmA", true), OutputFormat::Wma);
    EXPECT_EQ(OutputFormatFromCodecText("wma", false), OutputFormat::Mp3) << "no WMA library";
    EXPECT_EQ(OutputFormatFromCodecText("", true), OutputFormat::Mp3) << "missing attribute";
    EXPECT_EQ(OutputFormatFromCodecText("ogg", true), OutputFormat::Mp3);
    EXPECT_EQ(OutputFormatFromCodecText("wav ", true), OutputFormat::Mp3);
}
