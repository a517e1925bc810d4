#pragma once
// LxRegion: an owned GDI+ clip region, built from a rounded rectangle (inclusive corners plus the
// corner ellipse size). Copies clone the region; a region that could not be made is null.

#include "LxGdiplus.h"
#include "LxGeometry.h"

class LxRegion {
public:
    LxRegion() = default;
    LxRegion(const LxRect& rect, int ellipseWidth, int ellipseHeight);
    LxRegion(const LxRegion& other);
    LxRegion& operator=(const LxRegion& other);
    LxRegion(LxRegion&&) noexcept = default;
    LxRegion& operator=(LxRegion&&) noexcept = default;

    bool isNull() const { return !m_region; }
    Gdiplus::GpRegion* get() const { return m_region.get(); }

private:
    LxGpRegion m_region;
};
