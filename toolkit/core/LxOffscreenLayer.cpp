#include "LxOffscreenLayer.h"

#include "SetupLog.h"

using namespace Gdiplus;

namespace {

// The PNG encoder of GDI+'s built-in codecs.
const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

}  // namespace

LxOffscreenLayer::LxOffscreenLayer(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    GpBitmap* bitmap = nullptr;
    if (LxGdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok)
        return;
    m_bitmap.reset(bitmap);
    if (LxGdip::GdipGetImageGraphicsContext(bitmap, m_graphics.put()) != Ok) {
        m_graphics.reset();
        return;
    }
    lxApplyRenderingSettings(m_graphics.get());
    LxGdip::GdipGraphicsClear(m_graphics.get(), 0);
    m_width = width;
    m_height = height;
}

LxColor LxOffscreenLayer::pixel(int x, int y) const
{
    ARGB argb = 0;
    if (!isValid() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {0, 0, 0, 0};
    LxGdip::GdipFlush(m_graphics.get(), FlushIntentionSync);
    LxGdip::GdipBitmapGetPixel(bitmap(), x, y, &argb);
    return {static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
            static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)};
}

bool LxOffscreenLayer::savePng(const LxString& path) const
{
    if (!isValid())
        return false;
    LxGdip::GdipFlush(m_graphics.get(), FlushIntentionSync);
    const Status status = LxGdip::GdipSaveImageToFile(m_bitmap.get(), path.c_str(), &kPngEncoder, nullptr);
    if (status != Ok) {
        logPrint(L"LxOffscreenLayer::savePng, saving %ls failed with status %d.", path.c_str(), static_cast<int>(status));
        return false;
    }
    return true;
}
