#include "LxPainter.h"

#include "LxOffscreenLayer.h"
#include "LxRegion.h"
#include "LxTransform.h"

using namespace Gdiplus;

namespace {

CombineMode combineMode(int mode)
{
    return mode == 2 ? CombineModeIntersect : mode == 3 ? CombineModeUnion : CombineModeReplace;
}

REAL f(double value)
{
    return static_cast<REAL>(value);
}

// Image attributes with a colour matrix that is the identity but for the alpha scale.
LxGpImageAttributes alphaMatrix(double alpha)
{
    LxGpImageAttributes attributes;
    if (LxGdip::GdipCreateImageAttributes(attributes.put()) != Ok)
        return LxGpImageAttributes();
    ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i)
        matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = f(alpha);
    LxGdip::GdipSetImageAttributesColorMatrix(attributes.get(), ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
                                               ColorMatrixFlagsDefault);
    return attributes;
}

}  // namespace

LxPainter::LxPainter(LxOffscreenLayer& layer) : m_graphics(layer.graphics()) {}

LxPainter::LxPainter(HDC dc)
{
    if (dc && LxGdip::GdipCreateFromHDC(dc, m_owned.put()) == Ok) {
        m_graphics = m_owned.get();
        lxApplyRenderingSettings(m_graphics);
    } else {
        m_owned.reset();
    }
}

LxPainter::~LxPainter() = default;

LxColor LxPainter::withOpacity(const LxColor& color) const
{
    LxColor result = color;
    if (m_opacity < 1.0)
        result.a = static_cast<unsigned char>(lxRound(color.a * m_opacity));
    return result;
}

LxGpImageAttributes LxPainter::alphaAttributes(double alpha)
{
    return alpha >= 1.0 ? LxGpImageAttributes() : alphaMatrix(alpha);
}

void LxPainter::fillRect(const LxRectF& rect, const LxColor& color)
{
    LxGpBrush brush;
    if (!m_graphics || LxGdip::GdipCreateSolidFill(withOpacity(color).argb(), reinterpret_cast<GpSolidFill**>(brush.put())) != Ok)
        return;
    m_status = LxGdip::GdipFillRectangle(m_graphics, brush.get(), f(rect.x), f(rect.y), f(rect.width), f(rect.height));
}

void LxPainter::drawRect(const LxRectF& rect, const LxColor& color)
{
    LxGpPen pen;
    if (!m_graphics || LxGdip::GdipCreatePen1(withOpacity(color).argb(), 1.0f, UnitPixel, pen.put()) != Ok)
        return;
    m_status = LxGdip::GdipDrawRectangle(m_graphics, pen.get(), f(rect.x), f(rect.y), f(rect.width), f(rect.height));
}

void LxPainter::drawLine(const LxPointF& p1, const LxPointF& p2, const LxColor& color)
{
    LxGpPen pen;
    if (!m_graphics || LxGdip::GdipCreatePen1(withOpacity(color).argb(), 1.0f, UnitPixel, pen.put()) != Ok)
        return;
    m_status = LxGdip::GdipDrawLine(m_graphics, pen.get(), f(p1.x), f(p1.y), f(p2.x), f(p2.y));
}

void LxPainter::drawImage(double x, double y, double width, double height, const LxImage& image)
{
    if (!m_graphics || image.isNull())
        return;
    LxGpImageAttributes attributes = alphaAttributes(m_opacity);
    if (!attributes) {
        m_status = LxGdip::GdipDrawImageRect(m_graphics, image.bitmap(), f(x), f(y), f(width), f(height));
        return;
    }
    m_status = LxGdip::GdipDrawImageRectRect(m_graphics, image.bitmap(), f(x), f(y), f(width), f(height), 0.0f, 0.0f,
                                             f(image.width()), f(image.height()), UnitPixel, attributes.get(),
                                             nullptr, nullptr);
}

void LxPainter::drawImage(const LxRect& target, const LxImage& image, const LxRect& source)
{
    if (!m_graphics || image.isNull())
        return;
    LxGpImageAttributes attributes = alphaAttributes(m_opacity);
    m_status = LxGdip::GdipDrawImageRectRect(m_graphics, image.bitmap(), f(target.left), f(target.top),
                                             f(target.width()), f(target.height()), f(source.left), f(source.top),
                                             f(source.width()), f(source.height()), UnitPixel, attributes.get(),
                                             nullptr, nullptr);
}

void LxPainter::drawNinePatch(const LxRect& target, const LxImage& image, const LxMargins& m)
{
    if (image.isNull())
        return;
    const int W = image.width(), H = image.height();
    const int L = m.left, T = m.top, R = m.right, B = m.bottom;
    const int E = W - R - L;
    const int Q = H - B - T;
    const int x1 = target.left, y1 = target.top, x2 = target.right, y2 = target.bottom;
    // Each piece at its natural size: source (sx, sy, w, h) drawn at (x, y).
    auto piece = [&](int sx, int sy, int w, int h, int x, int y) {
        drawImage(LxRect::fromSize(x, y, w, h), image, LxRect::fromSize(sx, sy, w, h));
    };

    if (L >= 1 && T >= 1)
        piece(0, 0, L, T, x1, y1);
    if (R > 0 && T >= 1)
        piece(L + E, 0, R, T, x2 - R + 1, y1);
    if (L >= 1 && B >= 1)
        piece(0, T + Q, L, B, x1, y2 - B + 1);
    if (R > 0 && B >= 1)
        piece(L + E, T + Q, R, B, x2 - R + 1, y2 - B + 1);

    if (E > 0 && (T >= 1 || B >= 1)) {
        const int span = (x2 - x1 + 1) - L - R;
        auto horizontal = [&](int width, int x) {
            if (T >= 1)
                piece(L, 0, width, T, x, y1);
            if (B >= 1)
                piece(L, T + Q, width, B, x, y2 - B + 1);
        };
        for (int k = 0; span > 0 && k < span / E; ++k)
            horizontal(E, x1 + L + k * E);
        if (span > 0 && span % E > 0)
            horizontal(span % E, x1 + L + (span / E) * E);
    }
    if (Q >= 1 && (L >= 1 || R >= 1)) {
        const int span = (y2 - y1 + 1) - T - B;
        auto vertical = [&](int height, int y) {
            if (L >= 1)
                piece(0, T, L, height, x1, y);
            if (R > 0)
                piece(L + E, T, R, height, x2 - R + 1, y);
        };
        for (int k = 0; span > 0 && k < span / Q; ++k)
            vertical(Q, y1 + T + k * Q);
        if (span > 0 && span % Q > 0)
            vertical(span % Q, y1 + T + (span / Q) * Q);
    }
}

void LxPainter::drawText(const LxRectF& rect, const LxString& text, const LxFont& font)
{
    if (!m_graphics || text.isEmpty())
        return;
    LxColor color = font.color();
    // Fully opaque text is drawn with alpha 254.
    if (color.a == 255)
        color.a = 254;
    color = withOpacity(color);
    LxGpBrush brush;
    LxGpFont gpFont = LxFont::createGdipFont(font);
    LxGpStringFormat format = lxStringFormat(StringFormatFlagsMeasureTrailingSpaces);
    if (!gpFont || !format
        || LxGdip::GdipCreateSolidFill(color.argb(), reinterpret_cast<GpSolidFill**>(brush.put())) != Ok)
        return;
    const RectF layout(f(rect.x), f(rect.y), f(rect.width), f(rect.height));
    m_status = LxGdip::GdipDrawString(m_graphics, text.c_str(), static_cast<INT>(text.size()), gpFont.get(), &layout,
                                      format.get(), brush.get());
}

void LxPainter::drawLayer(const LxOffscreenLayer& layer)
{
    if (!m_graphics || !layer.isValid())
        return;
    LxGpImageAttributes attributes = alphaMatrix(layer.opacity() * m_opacity);
    if (!attributes)
        return;
    m_status = LxGdip::GdipDrawImageRectRectI(m_graphics, layer.bitmap(), 0, 0, layer.width(), layer.height(), 0, 0,
                                              layer.width(), layer.height(), UnitPixel, attributes.get(), nullptr,
                                              nullptr);
}

void LxPainter::save()
{
    GraphicsState state = 0;
    if (m_graphics && (m_status = LxGdip::GdipSaveGraphics(m_graphics, &state)) == Ok)
        m_states.append(state);
}

void LxPainter::restore()
{
    if (!m_graphics || m_states.isEmpty())
        return;
    const unsigned state = m_states.at(m_states.size() - 1);
    m_states.removeAt(m_states.size() - 1);
    m_status = LxGdip::GdipRestoreGraphics(m_graphics, state);
}

void LxPainter::setTransform(const LxTransform& t)
{
    LxGpMatrix matrix;
    if (!m_graphics
        || LxGdip::GdipCreateMatrix2(f(t.m11), f(t.m12), f(t.m21), f(t.m22), f(t.dx), f(t.dy), matrix.put()) != Ok)
        return;
    m_status = LxGdip::GdipSetWorldTransform(m_graphics, matrix.get());
}

LxTransform LxPainter::transform() const
{
    LxGpMatrix matrix;
    REAL e[6] = {1, 0, 0, 1, 0, 0};
    if (m_graphics && LxGdip::GdipCreateMatrix(matrix.put()) == Ok
        && LxGdip::GdipGetWorldTransform(m_graphics, matrix.get()) == Ok)
        LxGdip::GdipGetMatrixElements(matrix.get(), e);
    return {e[0], e[1], e[2], e[3], e[4], e[5]};
}

void LxPainter::setClipRect(const LxRectF& rect, int mode)
{
    if (m_graphics)
        m_status = LxGdip::GdipSetClipRect(m_graphics, f(rect.x), f(rect.y), f(rect.width), f(rect.height),
                                           combineMode(mode));
}

void LxPainter::setClipRegion(const LxRegion& region, int mode)
{
    if (m_graphics && !region.isNull())
        m_status = LxGdip::GdipSetClipRegion(m_graphics, region.get(), combineMode(mode));
}
