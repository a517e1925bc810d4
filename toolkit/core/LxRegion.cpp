#include "LxRegion.h"

using namespace Gdiplus;

LxRegion::LxRegion(const LxRect& rect, int ellipseWidth, int ellipseHeight)
{
    UniqueRegionHandle hrgn(
        CreateRoundRectRgn(rect.left, rect.top, rect.right + 2, rect.bottom + 2, ellipseWidth, ellipseHeight));
    if (hrgn && LxGdip::GdipCreateRegionHrgn(hrgn.get(), m_region.put()) != Ok)
        m_region.reset();
}

LxRegion::LxRegion(const LxRegion& other)
{
    if (other.m_region && LxGdip::GdipCloneRegion(other.m_region.get(), m_region.put()) != Ok)
        m_region.reset();
}

LxRegion& LxRegion::operator=(const LxRegion& other)
{
    if (this != &other)
        *this = LxRegion(other);
    return *this;
}
