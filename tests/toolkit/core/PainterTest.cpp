#include <gtest/gtest.h>

#include <vector>

#include "DrawingFixture.h"
#include "LxPainter.h"
#include "LxRegion.h"
#include "LxTransform.h"

namespace {

const LxColor kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255};
const LxColor kGrey{128, 128, 128, 255}, kNone{0, 0, 0, 0};

class PainterTest : public DrawingTest {};

}  // namespace

TEST_F(PainterTest, NinePatchOf65By30DrawsCornersFullTilesAndRemainders)
{
    LxOffscreenLayer layer(80, 40);
    RecordingPainter painter(layer);
    painter.drawNinePatch(LxRect::fromSize(0, 0, 65, 30), ninePatchImage(), {10, 10, 10, 10});

    // (target x, y, w, h) <- (source x, y, w, h), in drawing order.
    const int expected[][8] = {
        {0, 0, 10, 10, 0, 0, 10, 10},    {55, 0, 10, 10, 20, 0, 10, 10},   // top corners
        {0, 20, 10, 10, 0, 20, 10, 10},  {55, 20, 10, 10, 20, 20, 10, 10}, // bottom corners
        {10, 0, 10, 10, 10, 0, 10, 10},  {10, 20, 10, 10, 10, 20, 10, 10}, // top and bottom tiles
        {20, 0, 10, 10, 10, 0, 10, 10},  {20, 20, 10, 10, 10, 20, 10, 10},
        {30, 0, 10, 10, 10, 0, 10, 10},  {30, 20, 10, 10, 10, 20, 10, 10},
        {40, 0, 10, 10, 10, 0, 10, 10},  {40, 20, 10, 10, 10, 20, 10, 10},
        {50, 0, 5, 10, 10, 0, 5, 10},    {50, 20, 5, 10, 10, 20, 5, 10},   // remainders of width 5
        {0, 10, 10, 10, 0, 10, 10, 10},  {55, 10, 10, 10, 20, 10, 10, 10}, // the one row of side tiles
    };
    ASSERT_EQ(painter.calls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const int* e = expected[i];
        EXPECT_EQ(painter.calls[i].target, LxRect::fromSize(e[0], e[1], e[2], e[3]));
        EXPECT_EQ(painter.calls[i].source, LxRect::fromSize(e[4], e[5], e[6], e[7]));
    }
}

TEST_F(PainterTest, NinePatchCornersKeepTheirSizeAtEveryTargetSize)
{
    const struct {
        int width, height;
    } sizes[] = {{30, 30}, {65, 30}, {100, 47}, {21, 23}, {200, 120}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        LxOffscreenLayer layer(size.width + 4, size.height + 4);
        LxPainter painter(layer);
        painter.drawNinePatch(LxRect::fromSize(2, 2, size.width, size.height), ninePatchImage(), {10, 10, 10, 10});
        const int r = 2 + size.width - 1, b = 2 + size.height - 1;
        // Each corner is exactly 10 x 10 in its colour: its inner pixel is still the corner colour
        // and the next pixel inwards is an edge (or outside) pixel.
        EXPECT_TRUE(colorNear(layer.pixel(2, 2), kRed));
        EXPECT_TRUE(colorNear(layer.pixel(11, 11), kRed));
        EXPECT_TRUE(colorNear(layer.pixel(r, 2), kGreen));
        EXPECT_TRUE(colorNear(layer.pixel(r - 9, 11), kGreen));
        EXPECT_TRUE(colorNear(layer.pixel(2, b), kBlue));
        EXPECT_TRUE(colorNear(layer.pixel(11, b - 9), kBlue));
        EXPECT_TRUE(colorNear(layer.pixel(r, b), kYellow));
        EXPECT_TRUE(colorNear(layer.pixel(r - 9, b - 9), kYellow));
        if (size.width > 20) {
            EXPECT_TRUE(colorNear(layer.pixel(12, 2), kGrey));
            EXPECT_TRUE(colorNear(layer.pixel(r - 10, b), kGrey));
        }
        // Nothing outside the target, and the centre is left to the caller.
        EXPECT_TRUE(colorNear(layer.pixel(1, 1), kNone));
        EXPECT_TRUE(colorNear(layer.pixel(r + 1, b + 1), kNone));
        if (size.width > 20 && size.height > 20) {
            EXPECT_TRUE(colorNear(layer.pixel(12, 12), kNone));
        }
    }
}

TEST_F(PainterTest, FillsAndOpacityScaleAlpha)
{
    LxOffscreenLayer layer(20, 10);
    LxPainter painter(layer);
    painter.fillRect({0, 0, 10, 10}, {10, 20, 30, 255});
    painter.setOpacity(0.5);
    painter.fillRect({10, 0, 10, 10}, {255, 255, 255, 255});
    EXPECT_TRUE(colorNear(layer.pixel(5, 5), {10, 20, 30, 255}));
    EXPECT_TRUE(colorNear(layer.pixel(15, 5), {255, 255, 255, 128}, 3));
}

TEST_F(PainterTest, SaveRestoreAndTransformMoveDrawing)
{
    LxOffscreenLayer layer(30, 30);
    LxPainter painter(layer);
    painter.save();
    painter.setTransform(LxTransform::fromTranslate(20, 20));
    EXPECT_EQ(painter.transform(), LxTransform::fromTranslate(20, 20));
    painter.fillRect({0, 0, 5, 5}, kRed);
    painter.restore();
    EXPECT_TRUE(painter.transform().isIdentity());
    painter.restore();  // nothing left to pop: harmless
    painter.setClipRect({0, 0, 3, 3}, 0);
    painter.fillRect({0, 0, 10, 10}, kBlue);
    EXPECT_TRUE(colorNear(layer.pixel(22, 22), kRed));
    EXPECT_TRUE(colorNear(layer.pixel(2, 2), kBlue));
    EXPECT_TRUE(colorNear(layer.pixel(5, 5), kNone));
}

TEST_F(PainterTest, LayerIsDrawnWithItsOpacity)
{
    LxOffscreenLayer source(10, 10);
    {
        LxPainter painter(source);
        painter.fillRect({0, 0, 10, 10}, kRed);
    }
    source.setOpacity(0.25);
    LxOffscreenLayer target(10, 10);
    LxPainter painter(target);
    painter.drawLayer(source);
    EXPECT_TRUE(colorNear(target.pixel(5, 5), {255, 0, 0, 64}, 3));
}

TEST_F(PainterTest, NullImagesDrawNothing)
{
    LxOffscreenLayer layer(10, 10);
    RecordingPainter painter(layer);
    const LxImage null;
    painter.drawImage(0, 0, 10, 10, null);
    painter.drawNinePatch(LxRect::fromSize(0, 0, 10, 10), null, {2, 2, 2, 2});
    EXPECT_TRUE(painter.calls.empty());
    EXPECT_EQ(paintedPixels(layer), 0);
}

TEST_F(PainterTest, PaintsIntoA32BitBackBuffer)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(dib);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), dib.get());
    {
        LxPainter painter(dc.get());
        ASSERT_TRUE(painter.isActive());
        painter.fillRect({4, 4, 8, 8}, {66, 147, 210, 255});
    }
    GdiFlush();
    const auto* pixels = static_cast<const unsigned*>(bits);
    EXPECT_EQ(pixels[8 * 16 + 8] & 0xFFFFFF, 0x4293D2u);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0u);
    SelectObject(dc.get(), old);
}

TEST_F(PainterTest, ClipRegionsAndTransformInverse)
{
    LxOffscreenLayer layer(20, 20);
    LxPainter painter(layer);
    const LxRegion region(LxRect{0, 0, 9, 9}, 0, 0);
    ASSERT_FALSE(region.isNull());
    const LxRegion copy = region;
    painter.setClipRegion(copy, 0);
    painter.fillRect({0, 0, 20, 20}, kRed);
    EXPECT_TRUE(colorNear(layer.pixel(5, 5), kRed));
    EXPECT_TRUE(colorNear(layer.pixel(15, 15), kNone));

    bool invertible = true;
    EXPECT_TRUE(LxTransform(0, 0, 0, 0, 3, 4).inverted(&invertible).isIdentity());
    EXPECT_FALSE(invertible);
    const LxTransform scale(2, 0, 0, 2, 10, 20);
    EXPECT_EQ(scale.inverted(&invertible).map(scale.map({3, 5})), (LxPointF{3, 5}));
    EXPECT_TRUE(invertible);
}
