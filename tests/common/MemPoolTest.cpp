#include <windows.h>

#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "MemPool.h"
#include "TestSupport.h"

namespace {

std::vector<std::wstring> g_reports;
void captureReport(const wchar_t* text)
{
    g_reports.emplace_back(text);
}

// Sends pool reports to g_reports instead of a message box and a debugger break.
class MemPoolTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_reports.clear();
        m_previous = mp_set_report_hook(captureReport);
    }
    void TearDown() override { mp_set_report_hook(m_previous); }

    static std::wstring text(const wchar_t* prefix, const void* address, const wchar_t* suffix)
    {
        std::wostringstream out;
        out << prefix << std::hex << std::uppercase << std::setw(8) << std::setfill(L'0')
            << reinterpret_cast<std::uintptr_t>(address) << suffix;
        return out.str();
    }
    static std::size_t inUse(int sizeClass)
    {
        const MpClassStats stats = mp_class_stats(sizeClass);
        return stats.blocks - stats.freeBlocks;
    }

private:
    MpReportHook m_previous = nullptr;
};

TEST_F(MemPoolTest, SizeClassBoundaries)
{
    struct Row {
        std::size_t request;
        std::size_t block;  // 0: served by the heap
    };
    const Row rows[] = {{0, 8},     {1, 8},     {8, 8},     {9, 16},    {32, 32},   {33, 48},
                        {48, 48},   {49, 64},   {96, 96},   {97, 128},  {128, 128}, {129, 160},
                        {224, 224}, {225, 256}, {256, 256}, {257, 0},   {4096, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.request);
        EXPECT_EQ(mp_block_size_for(row.request), row.block);
        void* p = mp_alloc(row.request);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 8, 0u);
        if (row.block) {
            EXPECT_TRUE(mp_owns(p));
            EXPECT_EQ(mp_size(p), row.block);
            std::memset(p, 0x5A, row.block);  // the whole usable size is writable
        } else {
            EXPECT_FALSE(mp_owns(p));
            EXPECT_GE(mp_size(p), row.request);
        }
        mp_free(p);
    }
    EXPECT_EQ(mp_size(nullptr), 0u);
    EXPECT_EQ(mp_free(nullptr), 0);
    EXPECT_TRUE(g_reports.empty());
}

// Freed blocks are reused last in, first out; a second free of a block changes nothing.
TEST_F(MemPoolTest, DoubleFreeIsReportedAndLeavesFreeListAlone)
{
    void* a = mp_alloc(40);
    void* b = mp_alloc(40);
    mp_free(a);
    mp_free(b);
    const MpClassStats before = mp_class_stats(4);

    mp_free(a);

    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0], text(L"mp_free - repeat free block 0x", a, L"!"));
    EXPECT_EQ(mp_class_stats(4).freeBlocks, before.freeBlocks);
    EXPECT_EQ(mp_alloc(40), b);  // the head is still b, then a
    EXPECT_EQ(mp_alloc(40), a);
}

TEST_F(MemPoolTest, OverrunByOneByteIsReportedOnNextFreeOrAlloc)
{
    // Overrun of an allocated block: the free reports it and releases the block all the same.
    auto* p = static_cast<unsigned char*>(mp_alloc(20));
    p[24] ^= 0xFF;
    mp_free(p);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0], text(L"mp_free - detect block 0x", p, L" corrupt!"));
    EXPECT_EQ(mp_alloc(20), p);  // repaired and reused without a new report
    EXPECT_EQ(g_reports.size(), 1u);

    // Overrun after the block was freed: the allocation that hands it out again reports it.
    mp_free(p);
    p[24] ^= 0xFF;
    EXPECT_EQ(mp_alloc(20), p);
    ASSERT_EQ(g_reports.size(), 2u);
    EXPECT_EQ(g_reports[1], text(L"mp_alloc - detect block 0x", p, L" corrupt!"));
    mp_free(p);
    EXPECT_EQ(g_reports.size(), 2u);
}

TEST_F(MemPoolTest, PointerIntoABlockIsNotFreed)
{
    auto* p = static_cast<char*>(mp_alloc(64));  // class 5: 64-byte blocks
    const std::size_t used = inUse(5);
    mp_free(p + 8);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0], text(L"mp_free - block 0x", p + 8, L" not in mem pool!"));
    EXPECT_EQ(inUse(5), used);
    EXPECT_EQ(mp_size(p + 8), 0u);
    EXPECT_EQ(mp_realloc(p + 8, 10), nullptr);
    mp_free(p);
    EXPECT_EQ(inUse(5), used - 1);

    // Every class tells its block starts from addresses inside its blocks.
    for (std::size_t request : {8, 16, 24, 32, 48, 64, 80, 96, 128, 160, 192, 224, 256}) {
        SCOPED_TRACE(request);
        auto* block = static_cast<char*>(mp_alloc(request));
        auto* next = static_cast<char*>(mp_alloc(request));
        EXPECT_TRUE(mp_owns(block));
        EXPECT_TRUE(mp_owns(next));
        for (std::size_t offset : {std::size_t(4), std::size_t(8), request, request + 4})
            EXPECT_FALSE(mp_owns(block + offset)) << offset;
        mp_free(next);
        mp_free(block);
    }
}

TEST_F(MemPoolTest, HeapPointersGoToTheCRuntime)
{
    void* heap = std::malloc(64);
    ASSERT_NE(heap, nullptr);
    EXPECT_FALSE(mp_owns(heap));
    EXPECT_EQ(mp_size(heap), _msize(heap));
    const std::size_t used = inUse(7);
    mp_free(heap);
    EXPECT_EQ(inUse(7), used);
    EXPECT_EQ(_heapchk(), _HEAPOK);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(MemPoolTest, ReallocKeepsLargeEnoughBlocksAndMovesOthers)
{
    auto* p = static_cast<unsigned char*>(mp_alloc(20));
    for (int i = 0; i < 24; ++i)
        p[i] = static_cast<unsigned char>(i + 1);

    EXPECT_EQ(mp_realloc(p, 24), p);  // fits the 24-byte block

    auto* moved = static_cast<unsigned char*>(mp_realloc(p, 25));
    ASSERT_NE(moved, p);
    EXPECT_TRUE(mp_owns(moved));
    EXPECT_EQ(mp_size(moved), 32u);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(moved[i], i + 1) << i;
    EXPECT_EQ(mp_alloc(20), p);  // the old block went back to its list

    auto* large = static_cast<unsigned char*>(mp_realloc(moved, 1000));
    ASSERT_NE(large, nullptr);
    EXPECT_FALSE(mp_owns(large));
    EXPECT_EQ(large[23], 24);
    large = static_cast<unsigned char*>(mp_realloc(large, 4000));  // heap block: realloc
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large[0], 1);
    mp_free(large);

    void* fresh = mp_realloc(nullptr, 16);
    EXPECT_TRUE(mp_owns(fresh));
    mp_free(fresh);
    mp_free(p);
    EXPECT_TRUE(g_reports.empty());
}

TEST(MemPoolSwitch, CommandLineRule)
{
    const std::wstring padding(240, L'x');
    struct Row {
        std::wstring line;
        bool off;
    };
    const Row rows[] = {
        {L"Setup.exe /disablemempool", true},
        {L"Setup.exe /DisableMemPool -silence", true},
        {L"Setup.exe /DISABLEMEMPOOL", true},
        {L"\"C:\\a b\\Setup.exe\"/dIsAbLeMeMpOoL", true},
        {L"Setup.exe -disablemempool", false},
        {L"Setup.exe /disablemem", false},
        {L"", false},
        {padding + L"/disablemempool", true},        // ends at character 255
        {padding + L"1234/disablemempool", true},    // ends at character 259
        {padding + L"12345/disablemempool", false},  // its last letter is beyond 259
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.line.size()));
        EXPECT_EQ(mp_command_line_disables_pool(row.line.c_str()), row.off);
    }
    EXPECT_FALSE(mp_command_line_disables_pool(nullptr));
}

TEST(MemPoolSwitch, ProgramStartedWithSwitchUsesTheHeap)
{
    // The probe exits with 1 when its allocations come from the pool, 0 when from the heap.
    const std::wstring probe = test::binFolder() + L"mempool_probe.exe";
    struct Row {
        const wchar_t* arguments;
        int exitCode;
    };
    const Row rows[] = {{L"", 1}, {L"/DisableMemPool", 0}, {L"-x /DISABLEMEMPOOL", 0}, {L"/disablemempool", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.arguments)));
        const test::ProcessResult result = test::runProgram(probe, row.arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, row.exitCode);
    }
}

TEST_F(MemPoolTest, ManyThreadsAllocateAndFreeWithoutLoss)
{
    std::size_t usedBefore[kMpClassCount];
    for (int c = 0; c < kMpClassCount; ++c)
        usedBefore[c] = inUse(c);

    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    constexpr int kLive = 64;
    std::vector<int> damaged(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &damaged] {
            unsigned seed = 12345u + static_cast<unsigned>(t);
            unsigned char* live[kLive] = {};
            std::size_t sizes[kLive] = {};
            auto release = [&](int slot) {
                for (std::size_t i = 0; i < sizes[slot]; ++i)
                    if (live[slot][i] != static_cast<unsigned char>(slot + t))
                        ++damaged[t];
                mp_free(live[slot]);
                live[slot] = nullptr;
            };
            for (int round = 0; round < kRounds; ++round) {
                seed = seed * 1103515245u + 12345u;
                const int slot = static_cast<int>((seed >> 8) % kLive);
                if (live[slot])
                    release(slot);
                sizes[slot] = 1 + (seed >> 16) % 256;
                live[slot] = static_cast<unsigned char*>(mp_alloc(sizes[slot]));
                std::memset(live[slot], slot + t, sizes[slot]);
            }
            for (int slot = 0; slot < kLive; ++slot)
                if (live[slot])
                    release(slot);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(damaged[t], 0) << t;
    for (int c = 0; c < kMpClassCount; ++c)
        EXPECT_EQ(inUse(c), usedBefore[c]) << "class " << c;
    EXPECT_TRUE(g_reports.empty());
}

} // namespace
