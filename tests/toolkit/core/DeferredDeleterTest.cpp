#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DebugMessage.h"
#include "LxApplication.h"
#include "LxDeferredDeleter.h"
#include "LxTimer.h"
#include "LxWeakRef.h"
#include "MessagePump.h"

namespace {

int g_destroyed = 0;

class Doomed : public LxObject, public LxRttiObject {
public:
    explicit Doomed(LxObject* parent = nullptr) : LxObject(parent) {}
    ~Doomed() override
    {
        ++g_destroyed;
        if (queueOnDestroy)
            queueOnDestroy->deleteLater();
    }
    Doomed* queueOnDestroy = nullptr;
};

class PlainObject : public LxObject {};

class DeferredDeleterTest : public testing::Test {
protected:
    void SetUp() override { g_destroyed = 0; }
};

TEST_F(DeferredDeleterTest, DeletesOnALaterTickNeverInsideTheCall)
{
    auto* object = new Doomed;
    LxWeakPtr<Doomed> weak(object);
    object->deleteLater();
    EXPECT_EQ(weak.get(), object);
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_TRUE(LxDeferredDeleter::instance()->timer().isActive());

    ASSERT_TRUE(pumpUntil([&] { return weak.get() == nullptr; }));
    EXPECT_EQ(g_destroyed, 1);
    // The timer stops once the queue is empty.
    EXPECT_TRUE(pumpUntil([] { return !LxDeferredDeleter::instance()->timer().isActive(); }));
}

TEST_F(DeferredDeleterTest, DeletesAtMostOnce)
{
    auto* twice = new Doomed;
    twice->deleteLater();
    twice->deleteLater();
    auto* gone = new Doomed;
    gone->deleteLater();
    delete gone;  // destroyed before the tick
    EXPECT_EQ(g_destroyed, 1);

    auto* parent = new Doomed;
    auto* child = new Doomed(parent);
    parent->deleteLater();
    child->deleteLater();  // dies with its parent first

    ASSERT_TRUE(pumpUntil([] { return LxDeferredDeleter::instance()->pendingCount() == 0 && g_destroyed >= 4; }));
    pumpFor(50);
    EXPECT_EQ(g_destroyed, 4);
}

TEST_F(DeferredDeleterTest, QueuedDuringATickGoesOnTheNextOne)
{
    auto* second = new Doomed;
    auto* first = new Doomed;
    first->queueOnDestroy = second;
    LxWeakPtr<Doomed> firstWeak(first);
    LxWeakPtr<Doomed> secondWeak(second);
    first->deleteLater();

    ASSERT_TRUE(pumpUntil([&] { return firstWeak.get() == nullptr; }));
    EXPECT_NE(secondWeak.get(), nullptr);
    ASSERT_TRUE(pumpUntil([&] { return secondWeak.get() == nullptr; }));
}

TEST_F(DeferredDeleterTest, ApplicationDestructionFlushesTheQueue)
{
    auto* object = new Doomed;
    {
        LxApplication app;
        object->deleteLater();
        EXPECT_EQ(g_destroyed, 0);
    }
    EXPECT_EQ(g_destroyed, 1);
}

std::vector<std::wstring> g_debug;
void captureDebug(const std::wstring& text)
{
    g_debug.push_back(text);
}

TEST_F(DeferredDeleterTest, ObjectWithoutClassRecordIsRefused)
{
    DebugMessage::setSink(captureDebug);
    PlainObject plain;
    plain.setObjectName(L"plain");
    plain.deleteLater();
    DebugMessage::setSink(nullptr);
    ASSERT_EQ(g_debug.size(), 1u);
    EXPECT_NE(g_debug[0].find(L"LxDeferredDeleter::deleteLater"), std::wstring::npos);
    EXPECT_EQ(LxDeferredDeleter::instance()->pendingCount(), 0u);
}

} // namespace
