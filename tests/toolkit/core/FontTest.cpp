#include <gtest/gtest.h>

#include "DrawingFixture.h"
#include "LxFont.h"
#include "LxPainter.h"

namespace {

class FontTest : public DrawingTest {};

}  // namespace

TEST_F(FontTest, DefaultFontAndFamilyConstructor)
{
    const LxFont font;
    EXPECT_EQ(font.family(), LxString(L"SimSun"));
    EXPECT_EQ(font.size(), 14.0);
    EXPECT_EQ(font.style(), 0);
    EXPECT_EQ(font.color(), (LxColor{0, 0, 0, 255}));

    LxFont::setDefaultFontSize(12.0);
    const LxFont named(L"Microsoft YaHei");
    LxFont::setDefaultFontSize(14.0);
    EXPECT_EQ(named.family(), LxString(L"Microsoft YaHei"));
    EXPECT_EQ(named.size(), 12.0);
}

TEST_F(FontTest, MeasuresLatinAndChineseText)
{
    const struct {
        const wchar_t* family;
        const wchar_t* text;
    } rows[] = {{L"SimSun", L"Install"}, {L"SimSun", L"\x5b89\x88c5\x5411\x5bfc"},
                {L"Microsoft YaHei", L"Zorvi \x5b89\x88c5"}, {L"DejaVu Sans", L"Hello"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.family);
        const LxFont font(row.family, 14.0);
        const LxRectF box = LxFont::measureText(row.text, font);
        EXPECT_GT(box.width, 0.0);
        EXPECT_GT(box.height, 0.0);
        const LxRectF wrapped = LxFont::measureText(row.text, font, 200.0);
        EXPECT_GT(wrapped.width, 0.0);
        EXPECT_EQ(wrapped.width, static_cast<double>(static_cast<int>(wrapped.width)));
    }
    // Trailing spaces count.
    const LxFont font(L"SimSun", 14.0);
    EXPECT_GT(LxFont::measureText(L"ab   ", font).width, LxFont::measureText(L"ab", font).width);
}

TEST_F(FontTest, MissingFamilyFallsBackToSansSerif)
{
    const LxFont missing(L"No Such Family Anywhere", 14.0);
    EXPECT_FALSE(LxFont::fontExists(missing));
    EXPECT_TRUE(LxFont::fontExists(LxFont(L"SimSun", 14.0)));

    Gdiplus::GpFontFamily* generic = nullptr;
    ASSERT_EQ(LxGdip::GdipGetGenericFontFamilySansSerif(&generic), Gdiplus::Ok);
    wchar_t genericName[LF_FACESIZE] = {};
    LxGdip::GdipGetFamilyName(generic, genericName, LANG_NEUTRAL);
    EXPECT_EQ(LxFont::resolvedFamilyName(missing), LxString(genericName));
    EXPECT_GT(LxFont::measureText(L"fallback", missing).width, 0.0);
}

TEST_F(FontTest, OpaqueTextIsDrawnWithAlpha254)
{
    const struct {
        unsigned char alpha;
        int drawn;
    } rows[] = {{255, 254}, {128, 128}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.alpha));
        LxOffscreenLayer layer(120, 30);
        LxPainter painter(layer);
        painter.drawText({0, 0, 120, 30}, L"\x2588\x2588 HH \x5b89\x88c5", LxFont(L"SimSun", 20.0, 0, {0, 0, 0, row.alpha}));
        EXPECT_GT(paintedPixels(layer), 20);
        EXPECT_EQ(maxAlpha(layer), row.drawn);
    }
}
