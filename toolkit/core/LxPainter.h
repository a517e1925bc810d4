#pragma once
// LxPainter: all toolkit drawing, through GDI+ onto a device context (a window's 32-bit back
// buffer) or an offscreen layer. Coordinates are doubles handed to GDI+ as floats; integer
// rectangles have inclusive corners. A painter lives for one paint; states pushed with save() are
// popped by the same painter. Failed GDI+ calls draw nothing; their last status is kept.
//
// The painter also carries an opacity (1.0 at first) that item painting multiplies down the item
// tree: colours have their alpha scaled and images are drawn through an alpha colour matrix.

#include "LxFont.h"
#include "LxGdiplus.h"
#include "LxGeometry.h"
#include "LxImage.h"

class LxOffscreenLayer;
class LxRegion;
class LxTransform;

// Border widths of a nine-patch image.
struct LxMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const LxMargins& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

class LxPainter {
public:
    // Paints onto the layer (which must outlive the painter).
    explicit LxPainter(LxOffscreenLayer& layer);
    // Paints onto a device context, e.g. a DIB section selected into a memory DC.
    explicit LxPainter(HDC dc);
    virtual ~LxPainter();
    LxPainter(const LxPainter&) = delete;
    LxPainter& operator=(const LxPainter&) = delete;

    bool isActive() const { return m_graphics != nullptr; }
    Gdiplus::GpStatus lastStatus() const { return m_status; }

    void fillRect(const LxRectF& rect, const LxColor& color);
    void drawRect(const LxRectF& rect, const LxColor& color);
    void drawLine(const LxPointF& p1, const LxPointF& p2, const LxColor& color);
    // The image's current frame scaled into the rectangle; a null image draws nothing.
    void drawImage(double x, double y, double width, double height, const LxImage& image);
    // The source part of the image into the target rectangle (both with inclusive corners).
    virtual void drawImage(const LxRect& target, const LxImage& image, const LxRect& source);
    // The eight border pieces of a nine-patch at their natural sizes, edges tiled; no centre.
    void drawNinePatch(const LxRect& target, const LxImage& image, const LxMargins& margins);
    void drawText(const LxRectF& rect, const LxString& text, const LxFont& font);
    void drawLayer(const LxOffscreenLayer& layer);

    void save();
    // Pops the last saved state; nothing when none is left.
    void restore();
    void setTransform(const LxTransform& transform);
    LxTransform transform() const;
    // mode 2 intersects, 3 unites, anything else replaces.
    void setClipRect(const LxRectF& rect, int mode);
    void setClipRegion(const LxRegion& region, int mode);

    double opacity() const { return m_opacity; }
    void setOpacity(double opacity) { m_opacity = opacity < 0.0 ? 0.0 : opacity > 1.0 ? 1.0 : opacity; }

    Gdiplus::GpGraphics* graphics() const { return m_graphics; }

protected:
    LxColor withOpacity(const LxColor& color) const;
    // Image attributes scaling alpha by the factor; null (plain drawing) at 1.0.
    static LxGpImageAttributes alphaAttributes(double alpha);

private:
    LxGpGraphics m_owned;
    Gdiplus::GpGraphics* m_graphics = nullptr;
    LxList<unsigned> m_states;
    Gdiplus::GpStatus m_status = Gdiplus::Ok;
    double m_opacity = 1.0;
};
