#pragma once
// LxFont: family, GDI+ style bits, size in pixels and text colour, with the process-wide default
// font, the GDI+ font creation shared by all drawing (a missing family falls back to the generic
// sans-serif family) and text measuring. GDI+ must be running for everything but the value type.

#include "LxContainers.h"
#include "LxGdiplus.h"
#include "LxGeometry.h"

class LxFont {
public:
    // A copy of the default font.
    LxFont();
    // The default font's style, size and colour with another family.
    explicit LxFont(const LxString& family);
    LxFont(const LxString& family, double size, int style = 0, LxColor color = LxColor());

    const LxString& family() const { return m_family; }
    int style() const { return m_style; }
    double size() const { return m_size; }
    const LxColor& color() const { return m_color; }
    void setFamily(const LxString& family) { m_family = family; }
    void setStyle(int style) { m_style = style; }
    void setSize(double size) { m_size = size; }
    void setColor(const LxColor& color) { m_color = color; }

    bool operator==(const LxFont& o) const
    {
        return m_family == o.m_family && m_style == o.m_style && m_size == o.m_size && m_color == o.m_color;
    }

    // "SimSun", 14 px, regular, opaque black until changed.
    static LxFont defaultFont();
    static void setDefaultFontFamily(const LxString& family);
    static void setDefaultFontSize(double px);

    // True when the family exists and a font of its size and style can be made from it.
    static bool fontExists(const LxFont& font);
    // The GDI+ font for drawing: the family by name, else generic sans-serif; null when both fail.
    static LxGpFont createGdipFont(const LxFont& font);
    // The family the drawing font really uses (the sans-serif fallback's name for a missing one).
    static LxString resolvedFamilyName(const LxFont& font);

    // Bounding box of the text laid out at (0, 0) without a layout size, trailing spaces counted.
    static LxRectF measureText(const LxString& text, const LxFont& font);
    // The same within a layout width, without clipping; the width is rounded up to an integer.
    static LxRectF measureText(const LxString& text, const LxFont& font, double width);

private:
    LxString m_family;
    int m_style = 0;
    double m_size = 14.0;
    LxColor m_color;
};
