#include <gtest/gtest.h>

#include <vector>

#include "DrawingFixture.h"
#include "LxApplication.h"
#include "LxAssignLib.h"
#include "LxGraphicsFrameItem.h"
#include "LxGraphicsPixmapItem.h"
#include "LxGraphicsRectItem.h"
#include "LxGraphicsSimpleTextItem.h"
#include "LxPainter.h"
#include "LxResourceLib.h"
#include "LxWidgetItem.h"
#include "MessagePump.h"

namespace {

class ItemTest : public DrawingTest {};

struct Notification {
    int kind;
    LxVariant newValue, oldValue;
};

class RecordingObserver : public LxItemObserver {
public:
    explicit RecordingObserver(int mask) : LxItemObserver(mask) {}
    void attached(LxGraphicsItem*) override { ++attachments; }
    void itemNotify(LxGraphicsItem*, int kind, const LxVariant& n, const LxVariant& o) override
    {
        seen.push_back({kind, n, o});
    }
    int count(int kind) const
    {
        int n = 0;
        for (const Notification& s : seen)
            n += s.kind == kind;
        return n;
    }
    std::vector<Notification> seen;
    int attachments = 0;
};

const LxColor kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255};

}  // namespace

TEST_F(ItemTest, GeometryAndCoordinateMapping)
{
    LxGraphicsItem root;
    auto* child = new LxGraphicsItem(&root);
    auto* grandchild = new LxGraphicsItem(child);
    RecordingObserver observer(LxItemObserver::Geometry | LxItemObserver::Position);
    child->addObserver(&observer);
    EXPECT_EQ(observer.attachments, 1);

    root.setPos(5, 5);
    child->setGeometry(10, 20, 100, 50);
    EXPECT_EQ(child->pos(), (LxPointF{10, 20}));
    EXPECT_EQ(child->rect(), (LxRectF{0, 0, 100, 50}));
    EXPECT_EQ(child->geometry(), (LxRectF{10, 20, 100, 50}));
    EXPECT_EQ(observer.count(LxItemObserver::Geometry), 1);
    EXPECT_EQ(observer.count(LxItemObserver::Position), 1);
    EXPECT_EQ(observer.seen.back().kind, LxItemObserver::Geometry);
    EXPECT_EQ(observer.seen.back().newValue.value<LxRectF>(), (LxRectF{10, 20, 100, 50}));
    EXPECT_EQ(observer.seen.back().oldValue.value<LxRectF>(), (LxRectF{0, 0, 0, 0}));

    child->setGeometry(10, 20, 100, 50);  // unchanged: no notification
    EXPECT_EQ(observer.seen.size(), 2u);

    grandchild->setPos(1, 2);
    grandchild->setSize(4, 4);
    EXPECT_EQ(grandchild->mapToScene(LxPointF{0, 0}), (LxPointF{16, 27}));
    EXPECT_EQ(grandchild->mapFromScene(LxPointF{16, 27}), (LxPointF{0, 0}));
    EXPECT_EQ(grandchild->sceneBoundingRect(), (LxRectF{16, 27, 4, 4}));
    EXPECT_EQ(child->mapToParent(LxPointF{1, 1}), (LxPointF{11, 21}));
    root.setPos(0, 0);  // the scene transforms below follow
    EXPECT_EQ(grandchild->mapToScene(LxPointF{0, 0}), (LxPointF{11, 22}));
    EXPECT_EQ(root.childrenBoundingRect(), (LxRectF{10, 20, 100, 50}));

    EXPECT_EQ(grandchild->depth(), 2);
    EXPECT_EQ(grandchild->topLevelItem(), &root);
    EXPECT_TRUE(root.isAncestorOf(grandchild));
    EXPECT_FALSE(grandchild->isAncestorOf(&root));
    LxGraphicsItem other;
    EXPECT_EQ(grandchild->commonAncestor(child), child);
    EXPECT_EQ(grandchild->commonAncestor(&other), nullptr);
    EXPECT_EQ(LxGraphicsItem::itemById(grandchild->serial()), grandchild);
    child->removeObserver(&observer);
}

TEST_F(ItemTest, StackingFollowsZThenInsertionOrder)
{
    LxGraphicsRectItem root;
    root.setSize(30, 10);
    root.setColor({0, 0, 0, 0});
    LxGraphicsRectItem* items[3];
    const LxColor colours[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        items[i] = new LxGraphicsRectItem(&root);
        items[i]->setGeometry(0, 0, 10 + 10 * i, 10);  // each overlaps the ones before it
        items[i]->setColor(colours[i]);
    }
    EXPECT_EQ(root.childItems().at(2), items[2]);
    items[0]->setParentItem(&root);  // same parent: nothing changes
    EXPECT_EQ(items[0]->siblingIndex(), 0);

    LxOffscreenLayer before(30, 10);
    {
        LxPainter painter(before);
        lxPaintItemTree(painter, root);
    }
    EXPECT_TRUE(colorNear(before.pixel(5, 5), kBlue));  // the last child is topmost

    items[0]->setZValue(1);
    EXPECT_EQ(root.childItems().at(2), items[0]);
    EXPECT_EQ(root.childItems().at(0), items[1]);
    LxOffscreenLayer after(30, 10);
    {
        LxPainter painter(after);
        lxPaintItemTree(painter, root);
    }
    EXPECT_TRUE(colorNear(after.pixel(5, 5), kRed));
    EXPECT_TRUE(colorNear(after.pixel(15, 5), kBlue));
    EXPECT_TRUE(colorNear(after.pixel(25, 5), kBlue));
}

TEST_F(ItemTest, OpacityMultipliesDownTheTreeAndInvisibleItemsVanish)
{
    LxGraphicsItem root;
    root.setOpacity(0.5);
    auto* middle = new LxGraphicsItem(&root);
    middle->setOpacity(0.5);
    auto* leaf = new LxGraphicsRectItem(middle);
    leaf->setGeometry(0, 0, 10, 10);
    leaf->setColor({255, 255, 255, 255});
    auto* hidden = new LxGraphicsRectItem(middle);
    hidden->setGeometry(10, 0, 10, 10);
    hidden->setVisible(false);
    auto* underHidden = new LxGraphicsRectItem(hidden);
    underHidden->setGeometry(0, 0, 5, 5);

    EXPECT_DOUBLE_EQ(leaf->effectiveOpacity(), 0.25);
    LxOffscreenLayer layer(20, 10);
    LxPainter painter(layer);
    lxPaintItemTree(painter, root);
    EXPECT_TRUE(colorNear(layer.pixel(5, 5), {255, 255, 255, 64}, 3));
    EXPECT_EQ(layer.pixel(12, 2).a, 0);
    EXPECT_DOUBLE_EQ(painter.opacity(), 1.0);

    EXPECT_FALSE(underHidden->isVisibleTo(nullptr));
    EXPECT_TRUE(underHidden->isVisibleTo(hidden));
    EXPECT_TRUE(underHidden->isVisible());
}

TEST_F(ItemTest, EnabledStateIsInherited)
{
    LxGraphicsItem root;
    auto* child = new LxGraphicsItem(&root);
    root.setEnabled(false);
    EXPECT_TRUE(child->isEnabled());
    EXPECT_FALSE(child->isEffectivelyEnabled());
    root.setEnabled(true);
    EXPECT_TRUE(child->isEffectivelyEnabled());
}

TEST_F(ItemTest, PropertiesAndObserversAreToldOncePerChange)
{
    LxGraphicsItem item;
    RecordingObserver observer(LxItemObserver::Visibility | LxItemObserver::Destruction);
    item.addObserver(&observer);
    item.addObserver(&observer);  // once only
    item.setVisible(false);
    item.setVisible(false);
    item.setVisible(true);
    ASSERT_EQ(observer.seen.size(), 2u);
    EXPECT_FALSE(observer.seen[0].newValue.value<bool>());
    EXPECT_TRUE(observer.seen[0].oldValue.value<bool>());

    item.setProperty(L"opacity", 0.25);
    EXPECT_DOUBLE_EQ(item.opacity(), 0.25);
    EXPECT_DOUBLE_EQ(item.property(L"opacity").toDouble(), 0.25);
    EXPECT_FALSE(item.hasProperty(L"tag"));
    item.setProperty(L"tag", LxString(L"x"));
    EXPECT_TRUE(item.hasProperty(L"tag"));
    EXPECT_EQ(item.property(L"tag").value<LxString>(), LxString(L"x"));
    EXPECT_FALSE(item.property(L"none").isValid());

    {
        RecordingObserver destruction(LxItemObserver::Destruction);
        auto* doomed = new LxGraphicsItem(&item);
        doomed->addObserver(&destruction);
        delete doomed;
        EXPECT_EQ(destruction.count(LxItemObserver::Destruction), 1);
        EXPECT_TRUE(item.childItems().isEmpty());
    }
    item.removeObserver(&observer);
}

TEST_F(ItemTest, NamesAndFlags)
{
    LxWidgetItem widget;
    widget.setObjectName(L"button");
    EXPECT_EQ(widget.background()->fullName(), LxString(L"button.background"));
    EXPECT_TRUE(widget.testFlag(LxGraphicsItem::ItemHasNoContents | LxGraphicsItem::ItemIsWidget
                                | LxGraphicsItem::ItemAcceptsHover));
    EXPECT_EQ(widget.focusPolicy(), 2u);
    EXPECT_EQ(widget.acceptedMouseButtons(), 1u);
    widget.setGeometry(3, 4, 50, 20);
    EXPECT_EQ(widget.background()->geometry(), (LxRectF{0, 0, 50, 20}));
    EXPECT_NE(widget.eventSignalDispatch(), nullptr);
    EXPECT_TRUE(widget.inherits(L"LxGraphicsItem"));
}

TEST_F(ItemTest, PixmapItemsDrawTheirImage)
{
    LxGraphicsPixmapItem item;
    LxOffscreenLayer layer(40, 40);
    {
        LxPainter painter(layer);
        lxPaintItemTree(painter, item);  // no pixmap: nothing
    }
    EXPECT_EQ(paintedPixels(layer), 0);
    item.setPixmap(ninePatchImage());
    EXPECT_EQ(item.rect(), (LxRectF{0, 0, 30, 30}));
    item.setPos(5, 5);
    LxPainter painter(layer);
    lxPaintItemTree(painter, item);
    EXPECT_TRUE(colorNear(layer.pixel(5, 5), kRed));
    EXPECT_TRUE(colorNear(layer.pixel(34, 34), {255, 255, 0, 255}));
    EXPECT_EQ(layer.pixel(35, 35).a, 0);
}

TEST_F(ItemTest, MarginsItemDrawsUnscaledOrNinePatchWithCentre)
{
    LxGraphicsMarginsPixmapItem item;
    item.setPixmap(ninePatchImage());
    item.setMargins({10, 10, 10, 10});
    {
        LxOffscreenLayer layer(30, 30);
        RecordingPainter painter(layer);
        item.paint(&painter, nullptr);
        ASSERT_EQ(painter.calls.size(), 1u);
        EXPECT_EQ(painter.calls[0].target, LxRect::fromSize(0, 0, 30, 30));
    }
    item.setSize(60, 40);
    LxOffscreenLayer layer(60, 40);
    RecordingPainter painter(layer);
    item.paint(&painter, nullptr);
    // Four corners, four top and four bottom tiles, two left and two right tiles, the centre.
    ASSERT_EQ(painter.calls.size(), 4u + 8u + 4u + 1u);
    EXPECT_EQ(painter.calls.back().target, (LxRect{10, 10, 49, 29}));
    EXPECT_EQ(painter.calls.back().source, (LxRect{10, 10, 18, 18}));
    EXPECT_TRUE(colorNear(layer.pixel(30, 20), {255, 255, 255, 255}));
    EXPECT_TRUE(colorNear(layer.pixel(59, 39), {255, 255, 0, 255}));
    EXPECT_TRUE(colorNear(layer.pixel(50, 39), {255, 255, 0, 255}));
    EXPECT_TRUE(colorNear(layer.pixel(49, 39), {128, 128, 128, 255}));
}

TEST_F(ItemTest, SimpleTextItemTakesTheMeasuredSize)
{
    LxGraphicsSimpleTextItem item;
    item.setText(L"Zorvi \x5b89\x88c5");
    const double width = item.width();
    EXPECT_GT(width, 0.0);
    EXPECT_GT(item.height(), 0.0);
    item.setFontSize(28);
    EXPECT_GT(item.width(), width);
    const double bigger = item.width();
    item.setColor({255, 0, 0, 255});
    EXPECT_EQ(item.width(), bigger);
    LxOffscreenLayer layer(static_cast<int>(bigger) + 2, static_cast<int>(item.height()) + 2);
    LxPainter painter(layer);
    lxPaintItemTree(painter, item);
    EXPECT_GT(paintedPixels(layer), 20);
}

TEST_F(ItemTest, FrameItemShowsTheLayerOfItsState)
{
    LxGraphicsFrameItem frame;
    EXPECT_EQ(frame.objectName(), LxString(L"frameitem"));
    const LxImage normal = ninePatchImage();
    const LxImage other = LxImage::fromData(bytes(kNinePatchPng));
    frame.setImage(LxGraphicsFrameItem::Normal, normal);
    frame.setImage(LxGraphicsFrameItem::Hover, other);
    frame.setImage(LxGraphicsFrameItem::Pressed, animatedImage());
    frame.setImage(LxGraphicsFrameItem::Disabled, LxImage::fromData(bytes(kAnimatedGif)));
    EXPECT_TRUE(frame.layer(0)->isVisible());
    EXPECT_FALSE(frame.layer(1)->isVisible());
    EXPECT_EQ(frame.layer(3), nullptr);

    frame.setHover(true);
    EXPECT_TRUE(frame.layer(1)->isVisible());
    EXPECT_TRUE(frame.currentImage().sameRecord(other));
    frame.setPressed(true);
    EXPECT_TRUE(frame.currentImage().sameRecord(frame.layer(2)->pixmap()));
    frame.setFocused(true);  // no focused image: pressed still wins
    EXPECT_TRUE(frame.currentImage().sameRecord(frame.layer(2)->pixmap()));
    frame.setDisabled(true);
    EXPECT_TRUE(frame.currentImage().sameRecord(frame.layer(4)->pixmap()));
    EXPECT_TRUE(frame.layer(4)->isVisible());
    frame.setDisabled(false);
    frame.setPressed(false);
    frame.setHover(false);
    EXPECT_FALSE(frame.layer(1)->isVisible());
    EXPECT_TRUE(frame.currentImage().sameRecord(normal));

    frame.setGeometry(0, 0, 80, 30);
    EXPECT_EQ(frame.layer(0)->rect(), (LxRectF{0, 0, 80, 30}));
}

TEST_F(ItemTest, FrameAnimationCyclesFrameDelaysSkippingZero)
{
    LxGraphicsFrameItem frame;
    frame.setImage(LxGraphicsFrameItem::Normal, animatedImage());  // delays 10, 0, 5 (x 10 ms)
    LxItemCountdown* countdown = LxItemCountdown::existing();
    ASSERT_NE(countdown, nullptr);
    EXPECT_EQ(countdown->remaining(&frame), 100);
    const int expected[] = {50, 100, 50, 100};
    for (int step : expected) {
        frame.countdownExpired();
        EXPECT_EQ(countdown->remaining(&frame), step);
    }
    frame.setImage(LxGraphicsFrameItem::Normal, ninePatchImage());
    EXPECT_EQ(countdown->remaining(&frame), 0);
}

TEST_F(ItemTest, CountdownTimerAdvancesAnimatedFrames)
{
    LxGraphicsFrameItem frame;
    const LxImage image = animatedImage();
    frame.setImage(LxGraphicsFrameItem::Normal, image);
    LxItemCountdown* countdown = LxItemCountdown::existing();
    EXPECT_EQ(countdown->interval(), 100);
    // Frame 0 shows for 100 ms, frame 1 has no delay and is skipped, frame 2 shows for 50 ms.
    EXPECT_TRUE(pumpUntil([&] { return image.activeFrame() == 2; }, 5000));
    EXPECT_EQ(countdown->interval(), 50);
    EXPECT_TRUE(pumpUntil([&] { return image.activeFrame() == 0; }, 5000));
    frame.setImage(LxGraphicsFrameItem::Normal, LxImage());
    EXPECT_EQ(countdown->remaining(&frame), 0);
    EXPECT_EQ(countdown->interval(), -1);  // the timer stops with its last entry
}

TEST_F(ItemTest, ApplicationRunsGdiplusAndEmptiesTheImageCache)
{
    LxImage kept;
    {
        LxApplication app;
        LxAssignLib::instance()->addAssign(L"setup", L"dll:///res");
        kept = imageFromUrl(L"lxgui:head.png");
        ASSERT_FALSE(kept.isNull());
        EXPECT_TRUE(LxImageCache::hasImage(L"dll:///theme/gui/head.png"));
    }
    EXPECT_FALSE(LxImageCache::hasImage(L"dll:///theme/gui/head.png"));
    EXPECT_FALSE(LxAssignLib::instance()->hasAssign(L"setup"));
    EXPECT_EQ(kept.refCount(), 1);
    EXPECT_EQ(kept.width(), 40);
}
