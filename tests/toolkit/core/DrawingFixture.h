#pragma once
// Shared pieces of the drawing tests: a GDI+ session per test (the image cache is emptied when it
// ends), the generated test images as byte arrays, and pixel helpers for offscreen layers.

#include <gtest/gtest.h>

#include <vector>

#include "LxContainers.h"
#include "LxGdiplus.h"
#include "LxImage.h"
#include "LxOffscreenLayer.h"
#include "LxPainter.h"
#include "LxPrinters.h"
#include "TestImages.h"

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_gdiplus.started()); }

    template <std::size_t N>
    static LxByteArray bytes(const unsigned char (&data)[N])
    {
        return LxByteArray(reinterpret_cast<const char*>(data), N);
    }
    static LxImage ninePatchImage() { return LxImage::fromData(bytes(kNinePatchPng)); }
    static LxImage animatedImage() { return LxImage::fromData(bytes(kAnimatedGif)); }

    // Largest alpha of any pixel of the layer.
    static int maxAlpha(const LxOffscreenLayer& layer);
    // Number of pixels whose alpha is not 0.
    static int paintedPixels(const LxOffscreenLayer& layer);

private:
    LxGdiplusSession m_gdiplus;
};

// A painter that records every image part it draws (target and source rectangles), then draws it.
class RecordingPainter : public LxPainter {
public:
    struct Call {
        LxRect target;
        LxRect source;
    };
    using LxPainter::LxPainter;
    using LxPainter::drawImage;
    void drawImage(const LxRect& target, const LxImage& image, const LxRect& source) override
    {
        calls.push_back({target, source});
        LxPainter::drawImage(target, image, source);
    }
    std::vector<Call> calls;
};

::testing::AssertionResult colorNear(const LxColor& actual, const LxColor& expected, int tolerance = 2);
