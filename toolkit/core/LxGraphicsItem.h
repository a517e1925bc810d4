#pragma once
// LxGraphicsItem: the base of everything visible. An item has a local rectangle, a position in
// its parent (the translation of its transform), a z value, opacity, visibility, enabled state,
// flags, an object name, observers and properties, and keeps its own parent and children (children
// stay sorted by z value, then insertion order; the last is topmost). Items outside a scene skip
// every scene notification and repaint silently; setting a value equal to the current one does
// nothing. lxPaintItemTree draws an item tree onto a painter. UI thread only.

#include "LxContainers.h"
#include "LxGeometry.h"
#include "LxRegion.h"
#include "LxRttiObject.h"
#include "LxTransform.h"
#include "LxVariant.h"

class LxGraphicsItem;
class LxGraphicsScene;
class LxPainter;

// Told about changes of the items it observes, for the kinds in its mask.
class LxItemObserver {
public:
    enum Kind { Geometry = 1, Visibility = 4, Destruction = 16, Position = 32 };
    explicit LxItemObserver(int mask) : m_mask(mask) {}
    virtual ~LxItemObserver() = default;
    int mask() const { return m_mask; }
    virtual void attached(LxGraphicsItem*) {}
    // Geometry: rectangles in parent coordinates; Visibility: bools; Position: points.
    virtual void itemNotify(LxGraphicsItem* item, int kind, const LxVariant& newValue, const LxVariant& oldValue) = 0;

private:
    int m_mask;
};

class LxGraphicsItem : public LxRttiObject {
    LX_DECLARE_CLASS(LxGraphicsItem)

public:
    enum Flag : unsigned {
        ItemIsMovable = 0x1,
        ItemIsFocusable = 0x4,
        ItemClipsToShape = 0x8,
        ItemClipsChildrenToShape = 0x10,
        ItemHasNoContents = 0x400,
        ItemAcceptsHover = 0x10000,
        ItemStopsClickFocus = 0x20000,
        ItemTabLeaves = 0x80000,
        ItemStopsHitTest = 0x100000,
        ItemChildrenNeedVisibleRect = 0x200000,
        ItemIsWidget = 0x400000,
    };
    enum State : unsigned {
        AcceptsDrops = 0x2000,
        RepaintScheduled = 0x4000,
        GeometryAnnounced = 0x8000,
        FullRepaint = 0x10000,
        BeingDestroyed = 0x20000,
        Visible = 0x40000,
        Enabled = 0x80000,
        ChildrenRectDirty = 0x200000,
        SceneTransformDirty = 0x400000,
        StackingDirty = 0x800000,
        ChildrenUnsorted = 0x1000000,
        GeometryNesting = 0x2000000,
    };
    enum Change { PositionChange = 0, ParentChange = 4, ChildAdded = 5, ChildRemoved = 6, FlagsChange = 11,
                  ZValueChange = 12, GeometryChange = 14 };

    explicit LxGraphicsItem(LxGraphicsItem* parent = nullptr, LxGraphicsScene* scene = nullptr);
    ~LxGraphicsItem() override;

    virtual LxRectF boundingRect() const { return m_rect; }
    virtual LxRectF clipRect() const;
    virtual void setClipRect(const LxRectF& rect);
    virtual void paint(LxPainter* painter, const void* option);
    virtual LxString fullName() const;
    virtual LxVariant itemChange(const LxVariant& value, int change, const LxVariant& newValue);
    virtual void itemChanged(int change, const LxVariant& newValue, const LxVariant& oldValue);
    virtual LxGraphicsItem* nextInFocusChain() { return this; }
    virtual LxGraphicsItem* previousInFocusChain() { return this; }
    virtual LxString hintText() const { return m_hintText; }
    virtual LxString accessibleName() const { return m_accessibleName; }
    virtual LxString accessibleDescription() const { return m_accessibleDescription; }
    virtual LxString helpText() const { return m_helpText; }
    virtual void setProperty(const LxString& name, const LxVariant& value);
    virtual LxVariant property(const LxString& name) const;
    virtual bool hasProperty(const LxString& name) const;
    virtual void registerProperties() const;

    // --- tree
    void setParentItem(LxGraphicsItem* parent);
    LxGraphicsItem* parentItem() const { return m_parent; }
    const LxList<LxGraphicsItem*>& childItems() const;
    LxGraphicsScene* scene() const { return m_scene; }
    LxGraphicsItem* topLevelItem() const;
    int depth() const;
    int siblingIndex() const { return m_siblingIndex; }
    LxGraphicsItem* commonAncestor(const LxGraphicsItem* other) const;
    bool isAncestorOf(const LxGraphicsItem* other) const;
    int serial() const { return m_serial; }
    static LxGraphicsItem* itemById(int serial);

    // --- geometry
    void setRect(const LxRectF& rect);
    void setPos(const LxPointF& pos);
    void setPos(double x, double y) { setPos(LxPointF{x, y}); }
    void setGeometry(const LxRectF& rect) { setGeometry(rect.x, rect.y, rect.width, rect.height); }
    void setGeometry(double x, double y, double width, double height);
    void setX(double x) { setPos(x, m_pos.y); }
    void setY(double y) { setPos(m_pos.x, y); }
    void setWidth(double width) { setSize(width, height()); }
    void setHeight(double height) { setSize(width(), height); }
    void setSize(double width, double height);
    double width() const { return boundingRect().width; }
    double height() const { return boundingRect().height; }
    LxPointF pos() const { return m_pos; }
    double x() const { return m_pos.x; }
    double y() const { return m_pos.y; }
    LxRectF rect() const { return m_rect; }
    LxRectF geometry() const { return m_rect.translated(m_pos.x, m_pos.y); }
    const LxTransform& transform() const { return m_transform; }
    LxTransform sceneTransform() const;
    LxRectF sceneBoundingRect() const { return sceneTransform().mapRect(boundingRect()); }
    LxRectF childrenBoundingRect() const;
    LxPointF mapToScene(const LxPointF& p) const { return sceneTransform().map(p); }
    LxRectF mapToScene(const LxRectF& r) const { return sceneTransform().mapRect(r); }
    LxPointF mapFromScene(const LxPointF& p) const { return sceneTransform().inverted().map(p); }
    LxPointF mapToParent(const LxPointF& p) const { return m_transform.map(p); }
    LxRectF mapToParent(const LxRectF& r) const { return m_transform.mapRect(r); }

    // --- state
    void setVisible(bool visible);
    bool isVisible() const { return (m_state & Visible) != 0; }
    // True when this item and every item up to (not including) the ancestor is visible.
    bool isVisibleTo(const LxGraphicsItem* ancestor) const;
    void setEnabled(bool enabled);
    bool isEnabled() const { return (m_state & Enabled) != 0; }
    // True when this item and all its ancestors are enabled.
    bool isEffectivelyEnabled() const;
    void setZValue(double z);
    double zValue() const { return m_z; }
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }
    // The opacity multiplied down from the root.
    double effectiveOpacity() const;
    void setClipRegion(const LxRegion* region);
    const LxRegion* clipRegion() const { return m_clipRegion.isNull() ? nullptr : &m_clipRegion; }
    void setFlag(unsigned flag, bool on = true);
    unsigned flags() const { return m_flags; }
    bool testFlag(unsigned flag) const { return (m_flags & flag) == flag; }
    unsigned state() const { return m_state; }
    void setAcceptedMouseButtons(unsigned mask, bool on = true);
    unsigned acceptedMouseButtons() const { return (m_state >> 26) & 0x1f; }
    void setFocusPolicy(unsigned policy) { m_focusPolicy = policy; }
    unsigned focusPolicy() const { return m_focusPolicy; }

    void setObjectName(const LxString& name) { m_objectName = name; }
    const LxString& objectName() const { return m_objectName; }
    void setHintText(const LxString& text) { m_hintText = text; }
    void setAccessibleName(const LxString& text) { m_accessibleName = text; }
    void setAccessibleDescription(const LxString& text) { m_accessibleDescription = text; }
    void setHelpText(const LxString& text) { m_helpText = text; }

    void addObserver(LxItemObserver* observer);
    void removeObserver(LxItemObserver* observer);

    // Repaint requests; without a scene they do nothing.
    void update(const LxRectF& rect = LxRectF());
    void prepareGeometryChange();

protected:
    void notifyObservers(int kind, const LxVariant& newValue, const LxVariant& oldValue);

private:
    void markChildrenRectDirtyUp();
    void markSceneTransformDirtyDown();
    void sortChildren() const;
    void invalidateDepth();

    unsigned m_flags = 0;
    unsigned m_state = Visible | Enabled | SceneTransformDirty | StackingDirty | ChildrenRectDirty;
    int m_serial;
    LxRectF m_rect;
    mutable LxRectF m_childrenRect;
    LxRectF m_clipRect;
    LxPointF m_pos;
    LxTransform m_transform;
    mutable LxTransform m_sceneTransform;
    mutable int m_depth = -1;
    int m_siblingIndex = -1;
    double m_z = 0.0;
    LxString m_objectName;
    LxList<LxItemObserver*> m_observers;
    unsigned m_focusPolicy = 0;
    double m_opacity = 1.0;
    LxRegion m_clipRegion;
    LxString m_hintText, m_accessibleName, m_accessibleDescription, m_helpText;
    LxGraphicsScene* m_scene = nullptr;
    LxGraphicsItem* m_parent = nullptr;
    mutable LxList<LxGraphicsItem*> m_children;
    LxMap<LxString, LxVariant> m_properties;
};

// Draws the item and its visible descendants in stacking order: each item under its scene
// transform (after the painter's own) and with its opacity multiplied down the tree; items with
// ItemHasNoContents only draw their children; clip flags clip to the clip region or rectangle.
void lxPaintItemTree(LxPainter& painter, LxGraphicsItem& item);
