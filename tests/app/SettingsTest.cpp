#include "app/Settings.h"

#include <gtest/gtest.h>

// Project files give the other texts (ProjectFileTest); no machine of the tests has the WMA library.
TEST(OutputFormat, WmaIsTakenOnlyWithItsLibrary) {
    EXPECT_EQ(OutputFormatFromCodecText("WmA", true), OutputFormat::Wma);
    EXPECT_EQ(OutputFormatFromCodecText("wma", false), OutputFormat::Mp3);
    EXPECT_EQ(OutputFormatFromCodecText("wav ", true), OutputFormat::Mp3);
}
