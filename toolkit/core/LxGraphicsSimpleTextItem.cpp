#include "LxGraphicsSimpleTextItem.h"

#include "LxPainter.h"

LX_DEFINE_CLASS(LxGraphicsSimpleTextItem, lxTypeTag("GSTM"), LxGraphicsItem)

void LxGraphicsSimpleTextItem::remeasure()
{
    const LxRectF box = LxFont::measureText(m_text, m_font);
    setRect({0, 0, box.width, box.height});
    update();
}

void LxGraphicsSimpleTextItem::setText(const LxString& text)
{
    m_text = text;
    remeasure();
}

void LxGraphicsSimpleTextItem::setFont(const LxFont& font)
{
    m_font = font;
    remeasure();
}

void LxGraphicsSimpleTextItem::setFontSize(double px)
{
    m_font.setSize(px);
    remeasure();
}

void LxGraphicsSimpleTextItem::setColor(const LxColor& color)
{
    m_font.setColor(color);
    update();
}

void LxGraphicsSimpleTextItem::paint(LxPainter* painter, const void*)
{
    painter->drawText(boundingRect(), m_text, m_font);
}
