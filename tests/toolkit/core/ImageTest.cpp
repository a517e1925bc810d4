#include <gtest/gtest.h>

#include "DebugMessage.h"
#include "DrawingFixture.h"
#include "LxPainter.h"
#include "TestSupport.h"

namespace {

class ImageTest : public DrawingTest {};

}  // namespace

TEST_F(ImageTest, PngFromMemoryHasItsSizeAndOneFrame)
{
    const LxImage image = ninePatchImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 30);
    EXPECT_EQ(image.height(), 30);
    EXPECT_EQ(image.frameCount(), 1);
    EXPECT_EQ(image.frameDelay(), 0);
    LxImage copy = image;
    copy.setActiveFrame(3);  // a single-frame image ignores frame selection
    EXPECT_EQ(copy.activeFrame(), 0);
}

TEST_F(ImageTest, AnimatedGifSelectsFramesModuloTheirCount)
{
    LxImage image = animatedImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.frameCount(), 3);
    EXPECT_EQ(image.frameDelay(), 100);
    const struct {
        int requested, active, delayMs;
    } rows[] = {{1, 1, 0}, {2, 2, 50}, {7, 1, 0}, {3, 0, 100}, {-1, 2, 50}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.requested);
        image.setActiveFrame(row.requested);
        EXPECT_EQ(image.activeFrame(), row.active);
        EXPECT_EQ(image.frameDelay(), row.delayMs);
    }
    // The selected frame is what gets drawn: frame 1 is green.
    image.setActiveFrame(1);
    LxOffscreenLayer layer(2, 2);
    LxPainter painter(layer);
    painter.drawImage(LxRect::fromSize(0, 0, 2, 2), image, LxRect::fromSize(0, 0, 2, 2));
    EXPECT_TRUE(colorNear(layer.pixel(0, 0), {0, 255, 0, 255}));
}

TEST_F(ImageTest, UndecodableOrEmptyBytesGiveNullImages)
{
    const char garbage[] = "this is not an image at all";
    const LxImage images[] = {LxImage::fromData(LxByteArray(garbage, sizeof garbage)),
                              LxImage::fromData(LxByteArray()), LxImage::fromFile(L"Z:\\no\\such\\image.png")};
    for (const LxImage& image : images) {
        EXPECT_TRUE(image.isNull());
        EXPECT_EQ(image.width(), 0);
        EXPECT_EQ(image.height(), 0);
        EXPECT_EQ(image.frameCount(), 0);
    }
    LxOffscreenLayer layer(8, 8);
    LxPainter painter(layer);
    painter.drawImage(0, 0, 8, 8, images[0]);
    EXPECT_EQ(paintedPixels(layer), 0);
}

TEST_F(ImageTest, CacheSharesOneRecordPerKey)
{
    test::TempFolder folder;
    const std::wstring path = folder / L"patch.png";
    ASSERT_TRUE(test::writeFile(path, std::string(reinterpret_cast<const char*>(kNinePatchPng), sizeof kNinePatchPng)));

    EXPECT_FALSE(LxImageCache::hasImage(path.c_str()));
    const LxImage first = LxImageCache::cachedImage(path.c_str());
    const LxImage second = LxImageCache::cachedImage(path.c_str());
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first.sameRecord(second));
    EXPECT_EQ(first.refCount(), 3);  // two handles and the cache's own reference
    EXPECT_TRUE(LxImageCache::hasImage(path.c_str()));
    EXPECT_EQ(first.key(), LxString(path.c_str()));
    EXPECT_TRUE(LxImageCache::imageBySerial(first.serial()).sameRecord(first));

    const LxImage named = LxImageCache::cachedImage(L"gif", bytes(kAnimatedGif));
    EXPECT_TRUE(LxImageCache::cachedImage(L"gif", LxByteArray()).sameRecord(named));
    EXPECT_GT(named.serial(), first.serial());

    LxImageCache::clear();
    EXPECT_FALSE(LxImageCache::hasImage(path.c_str()));
    EXPECT_EQ(first.refCount(), 2);  // handles outlive the cache
    EXPECT_EQ(first.width(), 30);
}

TEST_F(ImageTest, FailedDecodingIsNotCached)
{
    const char garbage[] = "garbage";
    EXPECT_TRUE(LxImageCache::cachedImage(L"bad", LxByteArray(garbage, sizeof garbage)).isNull());
    EXPECT_FALSE(LxImageCache::hasImage(L"bad"));
}
