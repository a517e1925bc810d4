#include <gtest/gtest.h>

#include <set>

#include "DrawingFixture.h"
#include "LxPainter.h"
#include "TestSupport.h"

namespace {

class GalleryTest : public DrawingTest {};

}  // namespace

TEST_F(GalleryTest, RendersEveryItemKindToAPng)
{
    test::TempFolder folder;
    const std::wstring png = folder / L"gallery.png";
    const test::ProcessResult run =
        test::runProgram(test::binFolder() + L"lxgallery.exe", L"--render \"" + png + L"\"");
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);

    const LxImage image = LxImage::fromFile(png.c_str());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 420);

    // Not blank: many colours, drawn everywhere from the title to the last text row.
    LxOffscreenLayer layer(640, 420);
    {
        LxPainter painter(layer);
        painter.drawImage(0, 0, 640, 420, image);
    }
    std::set<unsigned> colours;
    for (int y = 0; y < 420; y += 3)
        for (int x = 0; x < 640; x += 3)
            colours.insert(layer.pixel(x, y).argb());
    EXPECT_GT(colours.size(), 50u);
    EXPECT_TRUE(colorNear(layer.pixel(30, 90), {66, 147, 210, 255}));       // the first rectangle
    EXPECT_TRUE(colorNear(layer.pixel(125, 100), {232, 74, 60, 255}));     // raised by its z value
}

TEST_F(GalleryTest, RefusesAnUnknownCommandLine)
{
    const test::ProcessResult run = test::runProgram(test::binFolder() + L"lxgallery.exe", L"--show");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 2);
}
