#pragma once
// LxGraphicsFrameItem: the state background of widgets. Up to six nine-patch layers (0 normal,
// 1 hover, 2 pressed, 3 focused, 4 disabled, 5 free for subclasses) fill the frame; the state bits
// show and hide them, and the current image's frames animate through the item countdown service.
// LxItemCountdown: the process-wide countdown of such items on one LxTimer. UI thread only.

#include "LxContainers.h"
#include "LxGraphicsItem.h"
#include "LxGraphicsPixmapItem.h"
#include "LxObject.h"
#include "LxTimer.h"

class LxGraphicsFrameItem : public LxGraphicsItem, private LxItemObserver {
    LX_DECLARE_CLASS(LxGraphicsFrameItem)

public:
    enum Layer { Normal = 0, Hover = 1, Pressed = 2, Focused = 3, Disabled = 4, Extra = 5, LayerCount = 6 };
    enum StateBit : unsigned char {
        StateDisabled = 0x1, StateHover = 0x2, StatePressed = 0x4, StateFocused = 0x8,
        StateFillCenter = 0x10, StateRepaintOnChange = 0x20,
    };

    explicit LxGraphicsFrameItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr);
    ~LxGraphicsFrameItem() override;

    void setImage(int layer, const LxImage& image);
    void setImage(int layer, const LxString& url);
    // The layer item, or null when it was never made (or the index is out of range).
    LxGraphicsMarginsPixmapItem* layer(int index) const;

    void setDisabled(bool on);
    void setHover(bool on);
    void setPressed(bool on);
    void setFocused(bool on);
    unsigned char stateBits() const { return m_stateBits; }
    void setRepaintOnStateChange(bool on);
    void setFillCenter(bool on);
    // Layers whose bit is set fade in and out instead of switching (with animations).
    void setFadeMask(unsigned char mask) { m_fadeMask = mask; }

    void setMargins(const LxMargins& margins);
    const LxMargins& margins() const { return m_margins; }
    void setColor(const LxColor& color);
    const LxColor& color() const { return m_color; }

    // The image whose frames animate: disabled, pressed, focused, hover (each when that state is
    // on and its layer has an image), else the normal layer's; null when there is none.
    LxImage currentImage() const;

    void paint(LxPainter* painter, const void* option) override;
    // Called by the countdown: the next frame of the current image, and the next countdown.
    void countdownExpired();

private:
    void itemNotify(LxGraphicsItem* item, int kind, const LxVariant& newValue, const LxVariant& oldValue) override;
    LxGraphicsMarginsPixmapItem* ensureLayer(int index);
    void setStateBit(unsigned char bit, bool on, int layer);
    void restartAnimation();
    void fitLayers();

    LxGraphicsMarginsPixmapItem* m_layers[LayerCount] = {};
    LxMargins m_margins;
    LxColor m_color{0, 0, 0, 0};
    unsigned char m_stateBits = StateFillCenter;
    unsigned char m_fadeMask = 0;
};

class LxItemCountdown : public LxObject, public LxRttiObject {
    LX_DECLARE_CLASS(LxItemCountdown)

public:
    static LxItemCountdown* instance();
    static LxItemCountdown* existing();
    LxItemCountdown();
    ~LxItemCountdown() override;

    // A positive value (re)starts the item's countdown; 0 or less removes it.
    void setCountdown(LxGraphicsFrameItem* item, int msec);
    // Remaining milliseconds, 0 when the item has no countdown.
    int remaining(LxGraphicsFrameItem* item) const { return m_remaining.value(item, 0); }
    int interval() const { return m_timer.interval(); }
    // One timer tick: every entry loses the interval; expired entries call their item.
    void tick();

private:
    void recompute();

    LxMap<LxGraphicsFrameItem*, int> m_remaining;
    LxTimer m_timer;
};
