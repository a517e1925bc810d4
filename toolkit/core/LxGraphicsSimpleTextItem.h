#pragma once
// LxGraphicsSimpleTextItem: one text in one font; its rectangle is the measured size of the text
// (trailing spaces counted) and it draws the text in that rectangle.

#include "LxFont.h"
#include "LxGraphicsItem.h"

class LxGraphicsSimpleTextItem : public LxGraphicsItem {
    LX_DECLARE_CLASS(LxGraphicsSimpleTextItem)

public:
    explicit LxGraphicsSimpleTextItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr)
        : LxGraphicsItem(parent, scene)
    {
    }
    void setText(const LxString& text);
    const LxString& text() const { return m_text; }
    void setFont(const LxFont& font);
    const LxFont& font() const { return m_font; }
    void setFontSize(double px);
    // Changes only the colour: the size stays.
    void setColor(const LxColor& color);
    void paint(LxPainter* painter, const void* option) override;

private:
    void remeasure();

    LxString m_text;
    LxFont m_font;
};
