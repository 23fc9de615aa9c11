// What the track information tests share: the source files the fixture script made, copied into a
// folder of each test's own, and GDI+ with the capture folder the artwork files go to.
#pragma once

#include "tests/support/TestSupport.h"
#include "ui/trackinfo/ArtworkPicture.h"

#include <gtest/gtest.h>

#include <string>

namespace qvltest {

class TrackInfoTest : public testing::Test {
protected:
    void SetUp() override;
    // A copy of the fixture file name in this test's folder.
    std::string Copy(const std::string& name, const std::string& as = {});

    GdiplusSession m_gdiplus;
    TestFolder m_folder;
};

} // namespace qvltest
