#include <windows.h>

#include <gtest/gtest.h>

#include "LxElapsedTimer.h"

namespace {

TEST(TickCount64, ExtendsTheThirtyTwoBitTickAcrossItsWrap)
{
    struct Row {
        std::uint32_t reading;
        std::uint64_t expected;
    };
    const Row rows[] = {
        {0xFFFFFF00u, 0xFFFFFF00ull},
        {0xFFFFFFFFu, 0xFFFFFFFFull},
        {0x00000005u, 0x100000005ull},  // wrapped
        {0x00000005u, 0x100000005ull},  // same reading: no wrap
        {0x80000000u, 0x180000000ull},
        {0x00000001u, 0x200000001ull},  // second wrap
    };
    LxTickExtender extender;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reading);
        EXPECT_EQ(extender.extend(row.reading), row.expected);
    }
}

TEST(TickCount64, FollowsTheSystemTick)
{
    const std::uint64_t before = GetTickCount64();
    const std::uint64_t ours = tickCount64();
    const std::uint64_t after = GetTickCount64();
    EXPECT_GE(ours, before);
    EXPECT_LE(ours, after);
}

TEST(LxElapsedTimer, MeasuresFromStart)
{
    LxElapsedTimer timer;
    EXPECT_FALSE(timer.isValid());
    const std::uint64_t started = timer.start();
    EXPECT_TRUE(timer.isValid());
    EXPECT_LE(started, tickCount64());
    Sleep(100);
    EXPECT_GE(timer.elapsed(), 50);  // loose: the tick may advance in steps of about 16 ms
    timer.invalidate();
    EXPECT_FALSE(timer.isValid());
}

} // namespace
