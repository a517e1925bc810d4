#include "LxGraphicsItem.h"

#include <algorithm>
#include <vector>

#include "LxPainter.h"

LX_DEFINE_CLASS(LxGraphicsItem, lxTypeTag("ITEM"), LxRttiObject)

namespace {

int g_nextSerial = 0;

LxMap<int, LxGraphicsItem*>& itemTable()
{
    static LxMap<int, LxGraphicsItem*> table;
    return table;
}

struct PropertyAccessor {
    void (*set)(LxGraphicsItem*, const LxVariant&);
    LxVariant (*get)(const LxGraphicsItem*);
};

LxMap<LxString, PropertyAccessor>& propertyRegistry()
{
    static LxMap<LxString, PropertyAccessor> registry;
    return registry;
}

}  // namespace

LxGraphicsItem::LxGraphicsItem(LxGraphicsItem* parent, LxGraphicsScene* scene) : m_serial(g_nextSerial++)
{
    m_scene = scene;  // a scene adopts top-level items once scenes exist; until then it is only kept
    setParentItem(parent);
    itemTable().insert(m_serial, this);
}

LxGraphicsItem::~LxGraphicsItem()
{
    m_state |= BeingDestroyed;
    notifyObservers(LxItemObserver::Destruction, LxVariant(), LxVariant());
    while (!m_children.isEmpty())
        delete m_children.at(m_children.size() - 1);
    if (m_parent)
        setParentItem(nullptr);
    m_observers.clear();
    itemTable().remove(m_serial);
}

LxRectF LxGraphicsItem::clipRect() const
{
    return m_clipRect.width > 0 && m_clipRect.height > 0 ? m_clipRect : m_rect;
}

void LxGraphicsItem::setClipRect(const LxRectF& rect)
{
    if (rect == m_clipRect)
        return;
    prepareGeometryChange();
    m_clipRect = rect;
    update();
}

void LxGraphicsItem::paint(LxPainter*, const void*) {}

LxString LxGraphicsItem::fullName() const
{
    if (!m_parent)
        return m_objectName;
    LxString name = m_parent->fullName();
    name += L".";
    name += m_objectName;
    return name;
}

LxVariant LxGraphicsItem::itemChange(const LxVariant&, int, const LxVariant& newValue)
{
    return newValue;
}

void LxGraphicsItem::itemChanged(int, const LxVariant&, const LxVariant&)
{
    // The scene's change listener is told here once items live in scenes.
}

// --- properties

void LxGraphicsItem::registerProperties() const
{
    LxMap<LxString, PropertyAccessor>& registry = propertyRegistry();
    if (registry.contains(L"opacity"))
        return;
    registry.insert(L"opacity", {[](LxGraphicsItem* item, const LxVariant& v) { item->setOpacity(v.toDouble()); },
                                 [](const LxGraphicsItem* item) { return LxVariant(item->opacity()); }});
}

void LxGraphicsItem::setProperty(const LxString& name, const LxVariant& value)
{
    registerProperties();
    const auto& registry = propertyRegistry().data();
    const auto it = registry.find(name);
    if (it != registry.end())
        it->second.set(this, value);
    else
        m_properties.insert(name, value);
}

LxVariant LxGraphicsItem::property(const LxString& name) const
{
    registerProperties();
    const auto& registry = propertyRegistry().data();
    const auto it = registry.find(name);
    return it != registry.end() ? it->second.get(this) : m_properties.value(name);
}

bool LxGraphicsItem::hasProperty(const LxString& name) const
{
    registerProperties();
    return propertyRegistry().contains(name) || m_properties.contains(name);
}

// --- tree

void LxGraphicsItem::setParentItem(LxGraphicsItem* parent)
{
    if (parent == m_parent || parent == this)
        return;
    prepareGeometryChange();
    if (LxGraphicsItem* old = m_parent) {
        old->m_children.removeAll(this);
        m_siblingIndex = -1;
        old->itemChange(LxVariant(), ChildRemoved, LxVariant());
        old->itemChanged(ChildRemoved, LxVariant(), LxVariant());
        old->markChildrenRectDirtyUp();
    }
    m_parent = parent;
    if (parent) {
        if (!parent->m_scene)
            m_scene = nullptr;
        else
            m_scene = parent->m_scene;
        const auto& siblings = parent->m_children;
        m_siblingIndex = siblings.isEmpty() ? 0 : siblings.at(siblings.size() - 1)->m_siblingIndex + 1;
        parent->m_children.append(this);
        parent->m_state |= ChildrenUnsorted;
        parent->itemChange(LxVariant(), ChildAdded, LxVariant());
        parent->itemChanged(ChildAdded, LxVariant(), LxVariant());
        parent->markChildrenRectDirtyUp();
        markSceneTransformDirtyDown();
    }
    invalidateDepth();
    itemChange(LxVariant(), ParentChange, LxVariant());
    itemChanged(ParentChange, LxVariant(), LxVariant());
    update();
}

void LxGraphicsItem::sortChildren() const
{
    auto* self = const_cast<LxGraphicsItem*>(this);
    if (!(m_state & ChildrenUnsorted))
        return;
    self->m_state &= ~ChildrenUnsorted;
    if (m_children.isEmpty())
        return;
    auto& children = m_children.edit();
    std::stable_sort(children.begin(), children.end(),
                     [](const LxGraphicsItem* a, const LxGraphicsItem* b) { return a->m_siblingIndex < b->m_siblingIndex; });
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->m_siblingIndex = static_cast<int>(i);
    std::stable_sort(children.begin(), children.end(), [](const LxGraphicsItem* a, const LxGraphicsItem* b) {
        return a->m_z < b->m_z || (a->m_z == b->m_z && a->m_siblingIndex < b->m_siblingIndex);
    });
}

const LxList<LxGraphicsItem*>& LxGraphicsItem::childItems() const
{
    sortChildren();
    return m_children;
}

LxGraphicsItem* LxGraphicsItem::topLevelItem() const
{
    const LxGraphicsItem* item = this;
    while (item->m_parent)
        item = item->m_parent;
    return const_cast<LxGraphicsItem*>(item);
}

int LxGraphicsItem::depth() const
{
    if (m_depth < 0)
        m_depth = m_parent ? m_parent->depth() + 1 : 0;
    return m_depth;
}

void LxGraphicsItem::invalidateDepth()
{
    m_depth = -1;
    for (LxGraphicsItem* child : m_children)
        child->invalidateDepth();
}

LxGraphicsItem* LxGraphicsItem::commonAncestor(const LxGraphicsItem* other) const
{
    if (!other)
        return nullptr;
    const LxGraphicsItem* a = this;
    const LxGraphicsItem* b = other;
    while (a && a->depth() > b->depth())
        a = a->m_parent;
    while (b && b->depth() > a->depth())
        b = b->m_parent;
    while (a && b && a != b) {
        a = a->m_parent;
        b = b->m_parent;
    }
    return const_cast<LxGraphicsItem*>(a == b ? a : nullptr);
}

bool LxGraphicsItem::isAncestorOf(const LxGraphicsItem* other) const
{
    for (const LxGraphicsItem* p = other ? other->m_parent : nullptr; p; p = p->m_parent)
        if (p == this)
            return true;
    return false;
}

LxGraphicsItem* LxGraphicsItem::itemById(int serial)
{
    return itemTable().value(serial, nullptr);
}

// --- geometry

void LxGraphicsItem::markChildrenRectDirtyUp()
{
    for (LxGraphicsItem* item = this; item; item = item->m_parent) {
        if (item->m_state & (ChildrenRectDirty | BeingDestroyed))
            break;
        item->m_state |= ChildrenRectDirty;
    }
}

void LxGraphicsItem::markSceneTransformDirtyDown()
{
    if (m_state & (SceneTransformDirty | BeingDestroyed))
        return;
    m_state |= SceneTransformDirty;
    for (LxGraphicsItem* child : m_children)
        child->markSceneTransformDirtyDown();
}

void LxGraphicsItem::setRect(const LxRectF& rect)
{
    if (rect == m_rect)
        return;
    prepareGeometryChange();
    const LxRectF old = geometry();
    m_rect = rect;
    if (m_parent)
        m_parent->markChildrenRectDirtyUp();
    if (!(m_state & GeometryNesting)) {
        notifyObservers(LxItemObserver::Geometry, geometry(), old);
        itemChange(geometry(), GeometryChange, geometry());
        itemChanged(GeometryChange, geometry(), old);
    }
    update();
}

void LxGraphicsItem::setPos(const LxPointF& pos)
{
    if ((m_state & BeingDestroyed) || pos == m_pos)
        return;
    prepareGeometryChange();
    const LxRectF oldGeometry = geometry();
    const LxPointF old = m_pos;
    m_pos = pos;
    m_transform.setTranslation(pos.x, pos.y);
    if (m_parent)
        m_parent->markChildrenRectDirtyUp();
    m_state &= ~SceneTransformDirty;
    markSceneTransformDirtyDown();
    if (!(m_state & GeometryNesting)) {
        notifyObservers(LxItemObserver::Geometry, geometry(), oldGeometry);
        itemChange(geometry(), GeometryChange, geometry());
        itemChanged(GeometryChange, geometry(), oldGeometry);
    }
    notifyObservers(LxItemObserver::Position, m_pos, old);
    itemChanged(PositionChange, m_pos, old);
    update();
}

void LxGraphicsItem::setGeometry(double x, double y, double width, double height)
{
    const LxRectF old = geometry();
    const bool nested = (m_state & GeometryNesting) != 0;
    m_state |= GeometryNesting;
    setPos(x, y);
    setRect({0, 0, width, height});
    if (!nested)
        m_state &= ~GeometryNesting;
    if (!nested && geometry() != old) {
        notifyObservers(LxItemObserver::Geometry, geometry(), old);
        itemChange(geometry(), GeometryChange, geometry());
        itemChanged(GeometryChange, geometry(), old);
    }
}

void LxGraphicsItem::setSize(double width, double height)
{
    setRect({m_rect.x, m_rect.y, width, height});
}

LxTransform LxGraphicsItem::sceneTransform() const
{
    if (m_state & SceneTransformDirty) {
        m_sceneTransform = m_parent ? m_transform * m_parent->sceneTransform() : m_transform;
        const_cast<LxGraphicsItem*>(this)->m_state &= ~SceneTransformDirty;
    }
    return m_sceneTransform;
}

LxRectF LxGraphicsItem::childrenBoundingRect() const
{
    if (m_state & ChildrenRectDirty) {
        LxRectF united;
        for (const LxGraphicsItem* child : m_children)
            united = united.united(child->mapToParent(child->childrenBoundingRect().united(child->boundingRect())));
        m_childrenRect = united;
        const_cast<LxGraphicsItem*>(this)->m_state &= ~ChildrenRectDirty;
    }
    return m_childrenRect;
}

// --- state

void LxGraphicsItem::setVisible(bool visible)
{
    if (visible == isVisible())
        return;
    m_state = visible ? (m_state | Visible) : (m_state & ~Visible);
    notifyObservers(LxItemObserver::Visibility, visible, !visible);
    update();
}

bool LxGraphicsItem::isVisibleTo(const LxGraphicsItem* ancestor) const
{
    for (const LxGraphicsItem* item = this; item && item != ancestor; item = item->m_parent)
        if (!item->isVisible())
            return false;
    return true;
}

void LxGraphicsItem::setEnabled(bool enabled)
{
    if (enabled == isEnabled())
        return;
    m_state = enabled ? (m_state | Enabled) : (m_state & ~Enabled);
    update();
}

bool LxGraphicsItem::isEffectivelyEnabled() const
{
    for (const LxGraphicsItem* item = this; item; item = item->m_parent)
        if (!item->isEnabled())
            return false;
    return true;
}

void LxGraphicsItem::setZValue(double z)
{
    if (z == m_z)
        return;
    const double old = m_z;
    m_z = z;
    m_state |= StackingDirty;
    if (m_parent)
        m_parent->m_state |= ChildrenUnsorted;
    itemChanged(ZValueChange, z, old);
    update();
}

void LxGraphicsItem::setOpacity(double opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
}

double LxGraphicsItem::effectiveOpacity() const
{
    double opacity = 1.0;
    for (const LxGraphicsItem* item = this; item; item = item->m_parent)
        opacity *= item->m_opacity;
    return opacity;
}

void LxGraphicsItem::setClipRegion(const LxRegion* region)
{
    m_clipRegion = region ? *region : LxRegion();
}

void LxGraphicsItem::setFlag(unsigned flag, bool on)
{
    const unsigned old = m_flags;
    m_flags = on ? (m_flags | flag) : (m_flags & ~flag);
    itemChanged(FlagsChange, static_cast<int>(m_flags), static_cast<int>(old));
}

void LxGraphicsItem::setAcceptedMouseButtons(unsigned mask, bool on)
{
    const unsigned bits = (mask & 0x1f) << 26;
    m_state = on ? (m_state | bits) : (m_state & ~bits);
}

void LxGraphicsItem::addObserver(LxItemObserver* observer)
{
    if (!observer || m_observers.contains(observer))
        return;
    m_observers.append(observer);
    observer->attached(this);
}

void LxGraphicsItem::removeObserver(LxItemObserver* observer)
{
    m_observers.removeAll(observer);
}

void LxGraphicsItem::notifyObservers(int kind, const LxVariant& newValue, const LxVariant& oldValue)
{
    // A snapshot: observers may detach themselves while being told.
    const LxList<LxItemObserver*> observers = m_observers;
    for (LxItemObserver* observer : observers)
        if ((observer->mask() & kind) && m_observers.contains(observer))
            observer->itemNotify(this, kind, newValue, oldValue);
}

void LxGraphicsItem::update(const LxRectF&)
{
    if (!m_scene)
        return;
    // Scenes collect dirty areas; items outside one repaint nothing.
}

void LxGraphicsItem::prepareGeometryChange()
{
    if (!m_scene || (m_state & GeometryAnnounced))
        return;
    m_state |= GeometryAnnounced;
}

// --- painting

namespace {

void paintItem(LxPainter& painter, LxGraphicsItem& item, const LxTransform& base, double parentOpacity)
{
    if (!item.isVisible())
        return;
    const double opacity = parentOpacity * item.opacity();
    painter.save();
    painter.setTransform(item.sceneTransform() * base);
    painter.setOpacity(opacity);
    auto clip = [&]() {
        if (const LxRegion* region = item.clipRegion())
            painter.setClipRegion(*region, 2);
        else
            painter.setClipRect(item.clipRect(), 2);
    };
    if (!item.testFlag(LxGraphicsItem::ItemHasNoContents)) {
        painter.save();
        if (item.testFlag(LxGraphicsItem::ItemClipsToShape))
            clip();
        item.paint(&painter, nullptr);
        painter.restore();
    }
    if (item.testFlag(LxGraphicsItem::ItemClipsChildrenToShape))
        clip();
    const LxList<LxGraphicsItem*> children = item.childItems();
    for (LxGraphicsItem* child : children)
        paintItem(painter, *child, base, opacity);
    painter.restore();
}

}  // namespace

void lxPaintItemTree(LxPainter& painter, LxGraphicsItem& item)
{
    const double saved = painter.opacity();
    const LxTransform base = painter.transform();
    // The tree is drawn in the coordinates of the item's top-level item.
    const LxGraphicsItem* parent = item.parentItem();
    paintItem(painter, item, base, saved * (parent ? parent->effectiveOpacity() : 1.0));
    painter.setOpacity(saved);
}
