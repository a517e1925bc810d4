#include "LxGraphicsRectItem.h"

#include "LxPainter.h"

LX_DEFINE_CLASS(LxGraphicsRectItem, lxTypeTag("GRTM"), LxGraphicsItem)

void LxGraphicsRectItem::setColor(const LxColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void LxGraphicsRectItem::paint(LxPainter* painter, const void*)
{
    painter->fillRect(boundingRect(), m_color);
}
