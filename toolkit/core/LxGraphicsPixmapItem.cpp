#include "LxGraphicsPixmapItem.h"

#include "LxResourceLib.h"

LX_DEFINE_CLASS(LxGraphicsPixmapItem, lxTypeTag("GPPM"), LxGraphicsItem)
LX_DEFINE_CLASS(LxGraphicsMarginsPixmapItem, lxTypeTag("GMPP"), LxGraphicsItem)

void LxGraphicsPixmapItem::setPixmap(const LxImage& pixmap)
{
    m_pixmap = pixmap;
    setRect({0, 0, static_cast<double>(pixmap.width()), static_cast<double>(pixmap.height())});
    update();
}

void LxGraphicsPixmapItem::setOffset(const LxPointF& offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    update();
}

void LxGraphicsPixmapItem::paint(LxPainter* painter, const void*)
{
    if (m_pixmap.isNull())
        return;
    painter->drawImage(lxRound(m_offset.x), lxRound(m_offset.y), lxRound(width()), lxRound(height()), m_pixmap);
}

void LxGraphicsMarginsPixmapItem::setPixmap(const LxImage& pixmap)
{
    m_pixmap = pixmap;
    setSize(pixmap.width(), pixmap.height());
    update();
}

void LxGraphicsMarginsPixmapItem::setPixmapUrl(const LxString& url)
{
    setPixmap(imageFromUrl(LxUrl(url)));
}

void LxGraphicsMarginsPixmapItem::setMargins(const LxMargins& margins)
{
    m_margins = margins;
    update();
}

void LxGraphicsMarginsPixmapItem::setFillCenter(bool fill)
{
    m_fillCenter = fill;
    update();
}

void LxGraphicsMarginsPixmapItem::paint(LxPainter* painter, const void*)
{
    if (m_pixmap.isNull() || width() <= 0 || height() <= 0)
        return;
    const LxRect target = boundingRect().toRect();
    const int W = m_pixmap.width(), H = m_pixmap.height();
    if (m_margins.isNull()) {
        painter->drawImage(target.left, target.top, target.width(), target.height(), m_pixmap);
        return;
    }
    if (target.width() == W && target.height() == H) {
        painter->drawImage(target, m_pixmap, LxRect::fromSize(0, 0, W, H));
        return;
    }
    painter->drawNinePatch(target, m_pixmap, m_margins);
    if (!m_fillCenter)
        return;
    const LxRect centre{target.left + m_margins.left, target.top + m_margins.top, target.right - m_margins.right,
                        target.bottom - m_margins.bottom};
    LxRect source{m_margins.left, m_margins.top, W - m_margins.right - 1, H - m_margins.bottom - 1};
    if (centre.isEmpty() || source.isEmpty())
        return;
    // Keep the stretched centre clear of the right and bottom edge pixels.
    if (centre.width() != source.width() && m_margins.right > 0 && source.width() > 1)
        --source.right;
    if (centre.height() != source.height() && m_margins.bottom > 0 && source.height() > 1)
        --source.bottom;
    painter->drawImage(centre, m_pixmap, source);
}
