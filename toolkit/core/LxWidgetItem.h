#pragma once
// LxWidgetItem: the base of interactive items. It accepts hover, stops click focus and hit tests
// below it, takes click focus, accepts the left button, has no contents of its own and carries a
// background frame item ("background") that always fills it. Its event signal table lets program
// code connect to its events; event handling itself arrives with the event handlers.

#include "LxEventSignalDispatch.h"
#include "LxGraphicsFrameItem.h"
#include "LxGraphicsItem.h"

class LxWidgetItem : public LxGraphicsItem, private LxItemObserver {
    LX_DECLARE_CLASS(LxWidgetItem)

public:
    explicit LxWidgetItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr);
    ~LxWidgetItem() override;

    virtual LxEventSignalDispatch* eventSignalDispatch() { return &m_dispatch; }
    LxGraphicsFrameItem* background() const { return m_background; }

private:
    void itemNotify(LxGraphicsItem* item, int kind, const LxVariant& newValue, const LxVariant& oldValue) override;

    LxGraphicsFrameItem* m_background = nullptr;  // a child: deleted with the children
    LxEventSignalDispatch m_dispatch;
    int m_reserved = 0;
};
