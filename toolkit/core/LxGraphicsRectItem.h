#pragma once
// LxGraphicsRectItem: fills its bounding rectangle with one colour (opaque white at first).

#include "LxGraphicsItem.h"

class LxGraphicsRectItem : public LxGraphicsItem {
    LX_DECLARE_CLASS(LxGraphicsRectItem)

public:
    explicit LxGraphicsRectItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr)
        : LxGraphicsItem(parent, scene)
    {
    }
    void setColor(const LxColor& color);
    const LxColor& color() const { return m_color; }
    void paint(LxPainter* painter, const void* option) override;

private:
    LxColor m_color{255, 255, 255, 255};
};
