#include "LxFont.h"

#include <cmath>

using namespace Gdiplus;

namespace {

struct DefaultFont {
    LxString family = L"SimSun";
    double size = 14.0;
};

DefaultFont& defaults()
{
    static DefaultFont value;
    return value;
}

// The generic sans-serif family, looked up once and owned by GDI+.
GpFontFamily* sansSerif()
{
    static GpFontFamily* family = nullptr;
    if (!family)
        LxGdip::GdipGetGenericFontFamilySansSerif(&family);
    return family;
}

LxGpFontFamily familyByName(const LxString& name)
{
    LxGpFontFamily family;
    if (LxGdip::GdipCreateFontFamilyFromName(name.c_str(), nullptr, family.put()) != Ok)
        family.reset();
    return family;
}

LxRectF measure(const LxString& text, const LxFont& font, int flags, double width)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    LxGpGraphics graphics;
    if (!dc || LxGdip::GdipCreateFromHDC(dc.get(), graphics.put()) != Ok)
        return {};
    lxApplyRenderingSettings(graphics.get());
    LxGpFont gpFont = LxFont::createGdipFont(font);
    LxGpStringFormat format = lxStringFormat(flags);
    if (!gpFont || !format)
        return {};
    RectF layout(0.0f, 0.0f, static_cast<REAL>(width), 0.0f);
    RectF box(0.0f, 0.0f, 0.0f, 0.0f);
    LxGdip::GdipMeasureString(graphics.get(), text.c_str(), static_cast<INT>(text.size()), gpFont.get(), &layout,
                              format.get(), &box, nullptr, nullptr);
    return {box.X, box.Y, box.Width, box.Height};
}

}  // namespace

LxFont::LxFont() : m_family(defaults().family), m_size(defaults().size) {}

LxFont::LxFont(const LxString& family) : m_family(family), m_size(defaults().size) {}

LxFont::LxFont(const LxString& family, double size, int style, LxColor color)
    : m_family(family), m_style(style), m_size(size), m_color(color)
{
}

LxFont LxFont::defaultFont()
{
    return LxFont();
}

void LxFont::setDefaultFontFamily(const LxString& family)
{
    defaults().family = family;
}

void LxFont::setDefaultFontSize(double px)
{
    defaults().size = px;
}

bool LxFont::fontExists(const LxFont& font)
{
    LxGpFontFamily family = familyByName(font.family());
    if (!family)
        return false;
    LxGpFont gpFont;
    return LxGdip::GdipCreateFont(family.get(), static_cast<REAL>(font.size()), font.style(), UnitPixel,
                                  gpFont.put())
               == Ok
           && gpFont;
}

LxGpFont LxFont::createGdipFont(const LxFont& font)
{
    LxGpFontFamily named = familyByName(font.family());
    GpFontFamily* family = named ? named.get() : sansSerif();
    LxGpFont gpFont;
    const REAL size = static_cast<REAL>(font.size());
    if (family && LxGdip::GdipCreateFont(family, size, font.style(), UnitPixel, gpFont.put()) == Ok && gpFont)
        return gpFont;
    if (sansSerif() && LxGdip::GdipCreateFont(sansSerif(), size, font.style(), UnitPixel, gpFont.put()) == Ok)
        return gpFont;
    return LxGpFont();
}

LxString LxFont::resolvedFamilyName(const LxFont& font)
{
    LxGpFont gpFont = createGdipFont(font);
    GpFontFamily* family = nullptr;
    wchar_t name[LF_FACESIZE] = {};
    if (!gpFont || LxGdip::GdipGetFamily(gpFont.get(), &family) != Ok)
        return LxString();
    LxGpFontFamily owned(family);
    LxGdip::GdipGetFamilyName(family, name, LANG_NEUTRAL);
    return LxString(name);
}

LxRectF LxFont::measureText(const LxString& text, const LxFont& font)
{
    return measure(text, font, StringFormatFlagsMeasureTrailingSpaces, 0.0);
}

LxRectF LxFont::measureText(const LxString& text, const LxFont& font, double width)
{
    LxRectF box = measure(text, font, StringFormatFlagsMeasureTrailingSpaces | StringFormatFlagsNoClip, width);
    box.width = std::ceil(box.width);
    return box;
}
