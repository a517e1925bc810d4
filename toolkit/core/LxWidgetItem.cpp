#include "LxWidgetItem.h"

LX_DEFINE_CLASS(LxWidgetItem, lxTypeTag("WTIM"), LxGraphicsItem)

LxWidgetItem::LxWidgetItem(LxGraphicsItem* parent, LxGraphicsScene* scene)
    : LxGraphicsItem(parent, scene), LxItemObserver(LxItemObserver::Geometry)
{
    setFlag(ItemIsFocusable | ItemAcceptsHover | ItemStopsClickFocus | ItemStopsHitTest | ItemChildrenNeedVisibleRect
            | ItemHasNoContents);
    setFocusPolicy(2);
    setAcceptedMouseButtons(1);
    m_background = new LxGraphicsFrameItem(this);
    if (m_background)
        m_background->setObjectName(L"background");
    addObserver(this);
    setFlag(ItemIsWidget);
    (void)m_reserved;
}

LxWidgetItem::~LxWidgetItem()
{
    removeObserver(this);
}

void LxWidgetItem::itemNotify(LxGraphicsItem*, int, const LxVariant&, const LxVariant&)
{
    if (m_background)
        m_background->setGeometry(boundingRect());
}
