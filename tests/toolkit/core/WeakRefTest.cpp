#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "LxRttiObject.h"
#include "LxWeakRef.h"

namespace {

class Tracked : public LxRttiObject {};
class Service : public LxSignalReceiver {};

TEST(LxWeakRef, BecomesNullWhenTheObjectDies)
{
    auto* object = new Tracked;
    LxWeakPtr<Tracked> weak(object);
    LxWeakPtr<Tracked> copy(weak);
    EXPECT_EQ(weak.get(), object);
    EXPECT_EQ(weak.block(), copy.block());  // one block per object

    delete object;
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_EQ(copy.get(), nullptr);
    LxWeakPtr<Tracked> copyOfDead(weak);
    EXPECT_EQ(copyOfDead.block(), nullptr);  // a dead reference copies as null
}

TEST(LxWeakRef, ReceiversUseTheirOwnBlock)
{
    auto* service = new Service;
    LxWeakPtr<Service> weak(service);
    const std::size_t attached = LxWeakRegistry::instance()->attachedCount();
    EXPECT_EQ(weak.get(), service);
    delete service;
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_EQ(LxWeakRegistry::instance()->attachedCount(), attached);
}

TEST(LxWeakRef, LastHolderLettingGoForgetsTheBlock)
{
    Tracked object;
    LxWeakRegistry* registry = LxWeakRegistry::instance();
    const std::size_t attached = registry->attachedCount();
    LxWeakBlock* first;
    {
        LxWeakPtr<Tracked> weak(&object);
        first = weak.block();
        EXPECT_EQ(registry->attachedCount(), attached + 1);
    }
    EXPECT_EQ(registry->attachedCount(), attached);
    LxWeakPtr<Tracked> again(&object);
    EXPECT_EQ(again.get(), &object);
    EXPECT_EQ(registry->attachedCount(), attached + 1);
    (void)first;
}

TEST(LxWeakRef, DetachedBlocksArePurgedPastTheThreshold)
{
    LxWeakRegistry* registry = LxWeakRegistry::instance();
    ASSERT_EQ(registry->purgeThreshold(), 1000u);

    // Blocks let go while their objects live: purged once the list passes 1000.
    std::vector<std::unique_ptr<Tracked>> objects;
    for (int i = 0; i < 1001; ++i) {
        objects.push_back(std::make_unique<Tracked>());
        LxWeakPtr<Tracked> weak(objects.back().get());
    }
    EXPECT_EQ(registry->detachedCount(), 0u);
    EXPECT_EQ(registry->purgeThreshold(), 1000u);

    // Blocks still held (their objects died): nothing to purge, the threshold doubles.
    std::vector<LxWeakPtr<Tracked>> held;
    for (auto& object : objects)
        held.emplace_back(object.get());
    objects.clear();
    EXPECT_EQ(registry->detachedCount(), 1001u);
    EXPECT_EQ(registry->purgeThreshold(), 2000u);
    for (const auto& weak : held)
        EXPECT_EQ(weak.get(), nullptr);
}

} // namespace
