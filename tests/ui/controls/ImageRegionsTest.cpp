// The hot regions' rules, without a window.
#include "ui/controls/ImageRegions.h"

#include <gtest/gtest.h>

namespace {

// The status window's table: region 0 reaches three pixels past the 86-pixel panel.
CImageRegions StatusPanel() {
    CImageRegions regions;
    regions.SetPanelSize({86, 59});
    regions.SetRegions({{true, 0, 0, 29, 89, 31, 115}, {true, 1, 62, 1, 20, 20, 116}});
    return regions;
}

} // namespace

// Fault: with the mouse captured, a release beyond the panel's right edge still clicked region 0.
TEST(ImageRegions, ARegionWiderThanThePanelIsCutAtItsEdge) {
    CImageRegions regions = StatusPanel();
    EXPECT_EQ(regions.HitTest({85, 40}), 0u);
    EXPECT_FALSE(regions.HitTest({86, 40}));
    ASSERT_TRUE(regions.ButtonDown({40, 40}));
    EXPECT_FALSE(regions.ButtonUp({87, 40}));
}

// Fault: the click went to the region pressed, or a release outside every region still clicked.
TEST(ImageRegions, TheReleasePointChoosesTheRegionAndOutsideChoosesNone) {
    CImageRegions regions = StatusPanel();
    ASSERT_TRUE(regions.ButtonDown({10, 40}));
    EXPECT_EQ(regions.ButtonUp({70, 10}), 1) << "pressed on 0, released on 1";
    ASSERT_TRUE(regions.ButtonDown({70, 10}));
    EXPECT_FALSE(regions.ButtonUp({10, 10})) << "released where no region is";
    EXPECT_FALSE(regions.ButtonUp({70, 10})) << "a release with no press before it";
    EXPECT_FALSE(regions.ButtonDown({10, 10})) << "a press outside every region captures nothing";
}

// Fault: a region switched off at run time still lit up under the mouse or gave a click.
TEST(ImageRegions, ADisabledRegionShowsItsOwnFaceAndNeverClicks) {
    CImageRegions regions = StatusPanel();
    ASSERT_TRUE(regions.SetEnabled(1, false));
    regions.MouseMove({70, 10});
    EXPECT_EQ(regions.Face(1), RegionFace::Disabled);
    EXPECT_FALSE(regions.ButtonDown({70, 10}));
    ASSERT_TRUE(regions.ButtonDown({10, 40}));
    EXPECT_FALSE(regions.ButtonUp({70, 10})) << "released over the disabled region";
    ASSERT_TRUE(regions.SetEnabled(1, true));
    EXPECT_EQ(regions.Face(1), RegionFace::Normal);
    EXPECT_FALSE(regions.SetEnabled(7, false)) << "no such region";
}

// Fault: a region stayed hot after the mouse left it, or looked pressed with the pointer off it.
TEST(ImageRegions, FacesFollowThePointerAndTheButton) {
    CImageRegions regions = StatusPanel();
    regions.MouseMove({10, 40});
    EXPECT_EQ(regions.Face(0), RegionFace::Hover);
    EXPECT_EQ(regions.Face(1), RegionFace::Normal);
    regions.ButtonDown({10, 40});
    EXPECT_EQ(regions.Face(0), RegionFace::Pressed);
    regions.MouseMove({10, 10});
    EXPECT_EQ(regions.Face(0), RegionFace::Normal) << "held, but the pointer is off it";
    regions.MouseMove({10, 40});
    EXPECT_EQ(regions.Face(0), RegionFace::Pressed) << "back on it, still held";
    regions.MouseMove({70, 10});
    EXPECT_EQ(regions.Face(0), RegionFace::Normal);
    EXPECT_EQ(regions.Face(1), RegionFace::Hover) << "a release here would click it";
    EXPECT_EQ(regions.ButtonUp({70, 10}), 1);
    EXPECT_EQ(regions.Face(1), RegionFace::Hover);
    EXPECT_TRUE(regions.MouseLeave());
    EXPECT_EQ(regions.Face(1), RegionFace::Normal);
}
