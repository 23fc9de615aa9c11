// The skin's helpers: the shape cut from a picture's colour key, and a picture stretched over a
// window.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/Skin.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ctltest;

namespace {

// A 32-bit picture whose pixels the function colours.
HBITMAP PaintedBitmap(int width, int height, const std::function<COLORREF(int x, int y)>& colour) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            pixels[y * width + x] = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

} // namespace

// Fault: the region dropped pixels that are nearly red or kept some that are pure red; rows the
// builder merged with the row above came out wrong.
TEST(Skin, TheColourKeyRegionLeavesOutExactlyThePureRedPixels) {
    constexpr int kWidth = 24, kHeight = 12;
    auto colour = [](int x, int y) -> COLORREF {
        bool corner = (x + y < 3) || (kWidth - 1 - x + y < 3); // the rounded top corners
        bool hole = x >= 10 && x < 14 && y >= 4 && y < 8;      // a window through the middle
        if (corner || hole || x == kWidth - 1) {
            return kSkinColourKey;
        }
        if (x == 5 && y == 5) {
            return RGB(254, 0, 0); // nearly the key: kept
        }
        return RGB(40, 48, 58);
    };
    ScopedBitmap picture(PaintedBitmap(kWidth, kHeight, colour));
    ScopedRegion shape(CreateColourKeyRegion(picture.Get()));
    ASSERT_TRUE(shape);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(PtInRegion(shape.Get(), x, y) != FALSE, colour(x, y) != kSkinColourKey)
                << x << "," << y;
        }
    }
    RECT bounds;
    GetRgnBox(shape.Get(), &bounds);
    EXPECT_EQ(bounds.right, kWidth - 1);
    EXPECT_EQ(bounds.bottom, kHeight);
}

// Fault: a skin stretched to a window's size stretched its corners too, so the rounded corner's red
// spread into the window, or blended the key into other colours.
TEST(Skin, AStretchedSkinKeepsItsCornersAndItsPureRed) {
    // 10 by 10: a red 3 by 3 corner at the top left, the rest body colour.
    ScopedBitmap picture(PaintedBitmap(
        10, 10, [](int x, int y) { return x < 3 && y < 3 ? kSkinColourKey : RGB(40, 48, 58); }));
    ScopedRegion shape(CreateSkinWindowRegion(picture.Get(), {40, 30}, {3, 3, 3, 3}));
    ASSERT_TRUE(shape);
    EXPECT_FALSE(PtInRegion(shape.Get(), 2, 2));
    EXPECT_TRUE(PtInRegion(shape.Get(), 3, 3));
    EXPECT_TRUE(PtInRegion(shape.Get(), 3, 0)) << "the top edge next to the corner";
    EXPECT_TRUE(PtInRegion(shape.Get(), 39, 29));
}
