// Allocation rate of the memory pool against the C runtime's malloc/free for the toolkit's
// pattern: many short-lived small blocks (8 to 256 bytes, mostly short strings and list items).
// Each operation frees the block held in a random slot of a small working set and allocates a new
// one of a random size into it. Prints the rates and, on its last line, the single-threaded
// ratio "ratio=<pool rate / heap rate>".

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "MemPool.h"

namespace {

constexpr int kOperations = 1000000;
constexpr int kSlots = 512;
constexpr int kPattern = 1 << 16;
constexpr int kRepeats = 7;

struct Allocator {
    const char* name;
    void* (*alloc)(std::size_t);
    void (*release)(void*);
};

void poolRelease(void* p)
{
    mp_free(p);
}

// Sizes: half of them 8 to 32 bytes, 30 % 33 to 96, 20 % 97 to 256; slots picked at random.
struct Pattern {
    std::vector<unsigned short> sizes;
    std::vector<unsigned short> slots;
    explicit Pattern(unsigned seed)
    {
        sizes.resize(kPattern);
        slots.resize(kPattern);
        for (int i = 0; i < kPattern; ++i) {
            seed = seed * 1103515245u + 12345u;
            const unsigned r = (seed >> 8) % 100;
            seed = seed * 1103515245u + 12345u;
            const unsigned v = seed >> 8;
            if (r < 50)
                sizes[i] = static_cast<unsigned short>(8 + v % 25);
            else if (r < 80)
                sizes[i] = static_cast<unsigned short>(33 + v % 64);
            else
                sizes[i] = static_cast<unsigned short>(97 + v % 160);
            seed = seed * 1103515245u + 12345u;
            slots[i] = static_cast<unsigned short>((seed >> 8) % kSlots);
        }
    }
};

void work(const Allocator& allocator, const Pattern& pattern)
{
    std::vector<void*> live(kSlots, nullptr);
    for (int i = 0; i < kOperations; ++i) {
        const int k = i & (kPattern - 1);
        void*& slot = live[pattern.slots[k]];
        if (slot)
            allocator.release(slot);
        slot = allocator.alloc(pattern.sizes[k]);
        std::memset(slot, i, 8);  // the block is used, as a string or item would be
    }
    for (void* p : live)
        if (p)
            allocator.release(p);
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Operations per second of one run with threadCount threads working at once.
double rate(const Allocator& allocator, const std::vector<Pattern>& patterns, int threadCount)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::vector<std::thread> threads;
    for (int t = 1; t < threadCount; ++t)
        threads.emplace_back([&allocator, &patterns, t] { work(allocator, patterns[t]); });
    work(allocator, patterns[0]);
    for (std::thread& thread : threads)
        thread.join();
    QueryPerformanceCounter(&end);
    return static_cast<double>(kOperations) * threadCount / seconds(start, end);
}

// Best rates of pool and heap over kRepeats rounds; the two run alternately so that a busy
// machine slows both alike.
void compare(const Allocator& pool, const Allocator& heap, int threadCount, double& poolRate, double& heapRate)
{
    std::vector<Pattern> patterns;
    for (int t = 0; t < threadCount; ++t)
        patterns.emplace_back(2024u + static_cast<unsigned>(t));
    work(pool, patterns[0]);  // warm up: chunks and heap segments exist before timing
    work(heap, patterns[0]);
    poolRate = heapRate = 0;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        poolRate = std::max(poolRate, rate(pool, patterns, threadCount));
        heapRate = std::max(heapRate, rate(heap, patterns, threadCount));
    }
}

} // namespace

int main()
{
    const Allocator pool{"pool", mp_alloc, poolRelease};
    const Allocator heap{"heap", std::malloc, std::free};
    std::printf("bench_pool: %d alloc+free pairs per thread, sizes 8..256 bytes, %d live blocks\n",
                kOperations, kSlots);
    if (!mp_enabled())
        std::printf("note: the pool is switched off on the command line\n");

    double pool1, heap1, pool2, heap2;
    compare(pool, heap, 1, pool1, heap1);
    compare(pool, heap, 2, pool2, heap2);
    std::printf("pool 1 thread:  %.2f M ops/s\n", pool1 / 1e6);
    std::printf("heap 1 thread:  %.2f M ops/s\n", heap1 / 1e6);
    std::printf("pool 2 threads: %.2f M ops/s\n", pool2 / 1e6);
    std::printf("heap 2 threads: %.2f M ops/s\n", heap2 / 1e6);
    std::printf("ratio 2 threads=%.2f\n", pool2 / heap2);
    std::printf("ratio=%.2f\n", pool1 / heap1);
    return 0;
}
