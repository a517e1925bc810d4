#include "LxGraphicsFrameItem.h"

#include "LxPainter.h"
#include "LxResourceLib.h"

LX_DEFINE_CLASS(LxGraphicsFrameItem, lxTypeTag("LGFM"), LxGraphicsItem)
LX_DEFINE_CLASS(LxItemCountdown, 0, LxRttiObject)

LxGraphicsFrameItem::LxGraphicsFrameItem(LxGraphicsItem* parent, LxGraphicsScene* scene)
    : LxGraphicsItem(parent, scene), LxItemObserver(LxItemObserver::Geometry)
{
    setObjectName(L"frameitem");
    addObserver(this);
    LxItemCountdown::instance();
}

LxGraphicsFrameItem::~LxGraphicsFrameItem()
{
    removeObserver(this);
    if (LxItemCountdown* countdown = LxItemCountdown::existing())
        countdown->setCountdown(this, 0);
}

void LxGraphicsFrameItem::itemNotify(LxGraphicsItem*, int, const LxVariant&, const LxVariant&)
{
    fitLayers();
}

void LxGraphicsFrameItem::fitLayers()
{
    for (LxGraphicsMarginsPixmapItem* layer : m_layers)
        if (layer)
            layer->setGeometry(boundingRect());
}

LxGraphicsMarginsPixmapItem* LxGraphicsFrameItem::layer(int index) const
{
    return index >= 0 && index < LayerCount ? m_layers[index] : nullptr;
}

LxGraphicsMarginsPixmapItem* LxGraphicsFrameItem::ensureLayer(int index)
{
    if (index < 0 || index >= LayerCount)
        return nullptr;
    if (!m_layers[index]) {
        auto* created = new LxGraphicsMarginsPixmapItem(this);
        if (!created)
            return nullptr;
        created->setZValue(index);
        created->setMargins(m_margins);
        created->setFillCenter((m_stateBits & StateFillCenter) != 0);
        if (index != Normal)
            created->setVisible(false);
        m_layers[index] = created;
    }
    return m_layers[index];
}

void LxGraphicsFrameItem::setImage(int index, const LxImage& image)
{
    LxGraphicsMarginsPixmapItem* target = ensureLayer(index);
    if (!target)
        return;
    target->setPixmap(image);
    target->setGeometry(boundingRect());
    const bool shown = index == Normal || (index == Hover && (m_stateBits & StateHover))
                       || (index == Pressed && (m_stateBits & StatePressed))
                       || (index == Focused && (m_stateBits & StateFocused))
                       || (index == Disabled && (m_stateBits & StateDisabled));
    target->setVisible(shown);
    restartAnimation();
    update();
}

void LxGraphicsFrameItem::setImage(int index, const LxString& url)
{
    setImage(index, imageFromUrl(LxUrl(url)));
}

void LxGraphicsFrameItem::setStateBit(unsigned char bit, bool on, int index)
{
    if (((m_stateBits & bit) != 0) == on)
        return;
    m_stateBits = on ? (m_stateBits | bit) : (m_stateBits & ~bit);
    restartAnimation();
    if (m_stateBits & StateRepaintOnChange)
        update();
    LxGraphicsMarginsPixmapItem* target = layer(index);
    // Fading needs the animation system; until then a layer in the fade mask switches at once.
    if (target && !target->pixmap().isNull())
        target->setVisible(on);
}

void LxGraphicsFrameItem::setDisabled(bool on)
{
    setStateBit(StateDisabled, on, Disabled);
}

void LxGraphicsFrameItem::setHover(bool on)
{
    setStateBit(StateHover, on, Hover);
}

void LxGraphicsFrameItem::setPressed(bool on)
{
    setStateBit(StatePressed, on, Pressed);
}

void LxGraphicsFrameItem::setFocused(bool on)
{
    setStateBit(StateFocused, on, Focused);
}

void LxGraphicsFrameItem::setRepaintOnStateChange(bool on)
{
    m_stateBits = on ? (m_stateBits | StateRepaintOnChange) : (m_stateBits & ~StateRepaintOnChange);
}

void LxGraphicsFrameItem::setFillCenter(bool on)
{
    m_stateBits = on ? (m_stateBits | StateFillCenter) : (m_stateBits & ~StateFillCenter);
}

void LxGraphicsFrameItem::setMargins(const LxMargins& margins)
{
    m_margins = margins;
    for (LxGraphicsMarginsPixmapItem* target : m_layers)
        if (target)
            target->setMargins(margins);
    update();
}

void LxGraphicsFrameItem::setColor(const LxColor& color)
{
    m_color = color;
    update();
}

LxImage LxGraphicsFrameItem::currentImage() const
{
    const struct {
        unsigned char bit;
        int layer;
    } order[] = {{StateDisabled, Disabled}, {StatePressed, Pressed}, {StateFocused, Focused}, {StateHover, Hover}};
    for (const auto& entry : order) {
        const LxGraphicsMarginsPixmapItem* target = layer(entry.layer);
        if ((m_stateBits & entry.bit) && target && !target->pixmap().isNull())
            return target->pixmap();
    }
    return m_layers[Normal] ? m_layers[Normal]->pixmap() : LxImage();
}

void LxGraphicsFrameItem::restartAnimation()
{
    LxImage image = currentImage();
    LxItemCountdown* countdown = LxItemCountdown::instance();
    if (image.frameCount() < 2) {
        countdown->setCountdown(this, 0);
        return;
    }
    // Frames without a delay are skipped; with no delay anywhere the image stands still.
    for (int tried = 0; tried < image.frameCount(); ++tried) {
        if (image.frameDelay() > 0) {
            countdown->setCountdown(this, image.frameDelay());
            return;
        }
        image.setActiveFrame(image.activeFrame() + 1);
    }
    countdown->setCountdown(this, 0);
}

void LxGraphicsFrameItem::countdownExpired()
{
    LxImage image = currentImage();
    if (image.frameCount() < 2)
        return;
    image.setActiveFrame(image.activeFrame() + 1);
    restartAnimation();
    update();
}

void LxGraphicsFrameItem::paint(LxPainter* painter, const void*)
{
    if (m_color.a == 0)
        return;
    const LxRect pixels = boundingRect().toRect();
    painter->fillRect({static_cast<double>(pixels.left), static_cast<double>(pixels.top),
                       static_cast<double>(pixels.width()), static_cast<double>(pixels.height())},
                      m_color);
}

// --- countdown

namespace {
LxItemCountdown* g_countdown = nullptr;
}

LxItemCountdown* LxItemCountdown::instance()
{
    if (!g_countdown)
        g_countdown = new LxItemCountdown();
    return g_countdown;
}

LxItemCountdown* LxItemCountdown::existing()
{
    return g_countdown;
}

LxItemCountdown::LxItemCountdown()
{
    m_timer.timeout.connect(this, &LxItemCountdown::tick);
}

LxItemCountdown::~LxItemCountdown()
{
    if (g_countdown == this)
        g_countdown = nullptr;
}

void LxItemCountdown::setCountdown(LxGraphicsFrameItem* item, int msec)
{
    if (msec <= 0) {
        if (m_remaining.remove(item))
            recompute();
        return;
    }
    m_remaining.insert(item, msec);
    if (m_timer.interval() <= 0 || msec < m_timer.interval())
        recompute();
}

void LxItemCountdown::recompute()
{
    int smallest = 0;
    for (const auto& entry : m_remaining)
        if (entry.second > 0 && (smallest == 0 || entry.second < smallest))
            smallest = entry.second;
    if (smallest == 0)
        m_timer.stop();
    else if (smallest != m_timer.interval())
        m_timer.start(smallest);
}

void LxItemCountdown::tick()
{
    const int step = m_timer.interval();
    if (step <= 0)
        return;
    LxList<LxGraphicsFrameItem*> expired;
    auto& entries = m_remaining.edit();
    for (auto& entry : entries) {
        if (entry.second > 0) {
            entry.second -= step;
            if (entry.second <= 0)
                expired.append(entry.first);
        }
    }
    for (LxGraphicsFrameItem* item : expired) {
        m_remaining.remove(item);
        item->countdownExpired();
    }
    recompute();
}
