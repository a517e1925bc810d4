#pragma once
// Image items. LxGraphicsPixmapItem draws its image scaled into its rounded size at its rounded
// offset. LxGraphicsMarginsPixmapItem draws a nine-patch: corners and edges at natural size (edges
// tiled) and, when fill-centre is on, the centre stretched. Both draw nothing without an image.

#include "LxGraphicsItem.h"
#include "LxImage.h"
#include "LxPainter.h"

class LxGraphicsPixmapItem : public LxGraphicsItem {
    LX_DECLARE_CLASS(LxGraphicsPixmapItem)

public:
    explicit LxGraphicsPixmapItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr)
        : LxGraphicsItem(parent, scene)
    {
    }
    // Stores the image and takes its size as the rectangle (0, 0, width, height).
    void setPixmap(const LxImage& pixmap);
    const LxImage& pixmap() const { return m_pixmap; }
    void setOffset(const LxPointF& offset);
    LxPointF offset() const { return m_offset; }
    void paint(LxPainter* painter, const void* option) override;

private:
    LxImage m_pixmap;
    LxPointF m_offset;
};

class LxGraphicsMarginsPixmapItem : public LxGraphicsItem {
    LX_DECLARE_CLASS(LxGraphicsMarginsPixmapItem)

public:
    explicit LxGraphicsMarginsPixmapItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr)
        : LxGraphicsItem(parent, scene)
    {
    }
    // Stores the image and takes its size.
    void setPixmap(const LxImage& pixmap);
    // Loads through the resource library and image cache first (a missing image clears it).
    void setPixmapUrl(const LxString& url);
    const LxImage& pixmap() const { return m_pixmap; }
    void setMargins(const LxMargins& margins);
    const LxMargins& margins() const { return m_margins; }
    void setFillCenter(bool fill);
    bool fillCenter() const { return m_fillCenter; }
    void paint(LxPainter* painter, const void* option) override;

private:
    LxImage m_pixmap;
    LxMargins m_margins;
    bool m_fillCenter = true;
};
