#pragma once
// An offscreen layer: a 32-bit ARGB GDI+ bitmap of a fixed size with a graphics object on it
// (toolkit rendering settings, cleared to transparent) and an opacity used when the layer is drawn
// onto another painter. A layer whose bitmap could not be made is invalid and draws nothing.

#include "LxContainers.h"
#include "LxGdiplus.h"
#include "LxGeometry.h"

class LxOffscreenLayer {
public:
    LxOffscreenLayer(int width, int height);
    LxOffscreenLayer(const LxOffscreenLayer&) = delete;
    LxOffscreenLayer& operator=(const LxOffscreenLayer&) = delete;

    bool isValid() const { return m_graphics.valid(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    double opacity() const { return m_opacity; }
    void setOpacity(double opacity) { m_opacity = opacity; }

    Gdiplus::GpBitmap* bitmap() const { return static_cast<Gdiplus::GpBitmap*>(m_bitmap.get()); }
    Gdiplus::GpGraphics* graphics() const { return m_graphics.get(); }

    // The pixel at (x, y) as straight (not premultiplied) RGBA; transparent black outside.
    LxColor pixel(int x, int y) const;
    // Writes the layer as a PNG file; false (and nothing written) on failure.
    bool savePng(const LxString& path) const;

private:
    LxGpImage m_bitmap;
    LxGpGraphics m_graphics;
    int m_width = 0;
    int m_height = 0;
    double m_opacity = 1.0;
};
