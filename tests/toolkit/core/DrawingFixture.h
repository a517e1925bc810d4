#pragma once
// Shared pieces of the drawing tests: a GDI+ session per test (the image cache is emptied when it
// ends), the generated test images as byte arrays, and pixel helpers for offscreen layers.

#include <gtest/gtest.h>

#include "LxContainers.h"
#include "LxGdiplus.h"
#include "LxImage.h"
#include "LxOffscreenLayer.h"
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

::testing::AssertionResult colorNear(const LxColor& actual, const LxColor& expected, int tolerance = 2);
