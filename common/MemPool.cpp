#include "MemPool.h"

#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

constexpr std::uint16_t kTrailer = 0xCDAB;
constexpr std::uint16_t kFreeFlag = 0x1;
constexpr int kChunkShift = 6;
constexpr int kMaxChunks = 1024;
constexpr std::uint32_t kFirstChunkSize = 0x20000;
constexpr std::uint32_t kMaxChunkSize = 0x100000;
constexpr std::size_t kMaxPooled = 256;
// User data is 8-byte aligned: the first header sits 6 bytes into the chunk and each block takes
// its block size + 8 bytes (header 2, data, trailer 2, 4 bytes of padding).
constexpr std::size_t kAlign = 8;
constexpr std::size_t kFirstHeader = kAlign - 2;

// Divisibility by the chunk's stride without a division: with stride = odd * 2^shift,
// x is a multiple of stride exactly when rotr(x * inverse(odd), shift) <= (2^32 - 1) / stride,
// where inverse(odd) is odd's multiplicative inverse modulo 2^32.
struct StrideTest {
    std::uint32_t inverse;
    std::uint32_t limit;
    unsigned shift;

    static StrideTest make(std::uint32_t stride)
    {
        unsigned shift = 0;
        while (((stride >> shift) & 1) == 0)
            ++shift;
        const std::uint32_t odd = stride >> shift;
        std::uint32_t inverse = odd;  // Newton's iteration doubles the correct low bits each step
        for (int i = 0; i < 5; ++i)
            inverse *= 2 - odd * inverse;
        return StrideTest{inverse, 0xFFFFFFFFu / stride, shift};
    }
    bool divides(std::uint32_t x) const
    {
        const std::uint32_t q = x * inverse;
        const std::uint32_t rotated = shift ? (q >> shift) | (q << (32 - shift)) : q;
        return rotated <= limit;
    }
};

struct Chunk {
    char* base;
    std::size_t size;
    int sizeClass;
    std::size_t blockSize;
    StrideTest stride;        // block size + 8
    std::uint32_t usedBytes;  // from the first header to the end of the last block
};

// Address index entry: chunks are found by address, never by trusting the memory before a pointer.
struct ChunkSpan {
    const char* begin;
    const char* end;
    std::uint32_t number;
};

struct SizeClass {
    std::uint32_t lastChunkSize;
    std::uint16_t* freeHead;  // header of the first free block
};

// Plain zero-initialised data: usable before any constructor of the program has run.
struct Pool {
    std::atomic<bool> locked;
    Chunk chunks[kMaxChunks];
    std::uint32_t chunkCount;
    ChunkSpan byAddress[kMaxChunks];  // sorted by address
    SizeClass classes[kMpClassCount];
    bool off;
};

Pool g_pool;
INIT_ONCE g_init = INIT_ONCE_STATIC_INIT;
std::atomic<bool> g_initialised{false};
std::atomic<MpReportHook> g_reportHook{nullptr};

BOOL CALLBACK initialise(PINIT_ONCE, PVOID, PVOID*)
{
    g_pool.off = mp_command_line_disables_pool(GetCommandLineW());
    g_initialised.store(true, std::memory_order_release);
    return TRUE;
}

void ensureInitialised()
{
    if (!g_initialised.load(std::memory_order_acquire))
        InitOnceExecuteOnce(&g_init, initialise, nullptr, nullptr);
}

constexpr std::size_t blockSizeOf(int sizeClass)
{
    if (sizeClass < 4)
        return 8 * static_cast<std::size_t>(sizeClass + 1);
    if (sizeClass < 8)
        return 32 + 16 * static_cast<std::size_t>(sizeClass - 3);
    return 96 + 32 * static_cast<std::size_t>(sizeClass - 7);
}

// Size class of every request size up to 256 (0 counts as 1): the smallest class that holds it.
struct ClassTable {
    std::uint8_t classOf[kMaxPooled + 1];
    std::uint16_t blockSize[kMpClassCount];
    constexpr ClassTable() : classOf(), blockSize()
    {
        for (int c = 0; c < kMpClassCount; ++c)
            blockSize[c] = static_cast<std::uint16_t>(blockSizeOf(c));
        int c = 0;
        for (std::size_t n = 0; n <= kMaxPooled; ++n) {
            while (blockSizeOf(c) < (n == 0 ? 1 : n))
                ++c;
            classOf[n] = static_cast<std::uint8_t>(c);
        }
    }
};
constexpr ClassTable kClasses;

int classOf(std::size_t n)
{
    return n <= kMaxPooled ? kClasses.classOf[n] : -1;
}

std::uint16_t* headerOf(void* data)
{
    return reinterpret_cast<std::uint16_t*>(static_cast<char*>(data) - 2);
}
char* dataOf(std::uint16_t* header)
{
    return reinterpret_cast<char*>(header) + 2;
}
std::uint16_t* trailerOf(std::uint16_t* header, std::size_t blockSize)
{
    return reinterpret_cast<std::uint16_t*>(dataOf(header) + blockSize);
}
std::uint16_t*& linkOf(std::uint16_t* header)
{
    return *reinterpret_cast<std::uint16_t**>(dataOf(header));
}

// A report is formatted under the lock and shown after it was left.
struct Report {
    wchar_t text[96];
    bool pending = false;

    void set(const wchar_t* prefix, const void* address, const wchar_t* suffix)
    {
        // The address as upper-case hexadecimal, at least 8 digits (more above 4 GiB).
        wchar_t digits[17];
        int count = 0;
        auto value = static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address));
        do {
            digits[count++] = L"0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        } while (value != 0);
        while (count < 8)
            digits[count++] = L'0';
        std::size_t pos = 0;
        for (const wchar_t* s = prefix; *s; ++s)
            text[pos++] = *s;
        while (count > 0)
            text[pos++] = digits[--count];
        for (const wchar_t* s = suffix; *s; ++s)
            text[pos++] = *s;
        text[pos] = 0;
        pending = true;
    }
    void deliver() const
    {
        if (!pending)
            return;
        if (MpReportHook hook = g_reportHook.load()) {
            hook(text);
            return;
        }
        MessageBoxW(nullptr, text, L"mem pool error dectect!", MB_SERVICE_NOTIFICATION);
        DebugBreak();
    }
};

// A short spin lock: the pool holds it for a list pop or push (and rarely for making a chunk).
// A waiter spins briefly, then gives its time slice away, then sleeps, so that a holder that was
// preempted gets to run.
class PoolLock {
public:
    PoolLock()
    {
        for (int attempt = 0; g_pool.locked.exchange(true, std::memory_order_acquire); ++attempt) {
            while (g_pool.locked.load(std::memory_order_relaxed)) {
                if (attempt < 64)
                    YieldProcessor();
                else if (attempt < 128)
                    SwitchToThread();
                else
                    Sleep(1);
                ++attempt;
            }
        }
    }
    ~PoolLock() { g_pool.locked.store(false, std::memory_order_release); }
    PoolLock(const PoolLock&) = delete;
    PoolLock& operator=(const PoolLock&) = delete;
};

// Makes a new chunk for the class and puts all its blocks on the (empty) free list.
// Fails, making nothing, at the chunk limit or when VirtualAlloc fails.
bool makeChunk(int sizeClass)
{
    if (g_pool.chunkCount >= kMaxChunks)
        return false;
    SizeClass& cls = g_pool.classes[sizeClass];
    const std::uint32_t size =
        cls.lastChunkSize == 0 ? kFirstChunkSize : std::min(cls.lastChunkSize * 2, kMaxChunkSize);
    auto* base = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base)
        return false;

    const std::uint32_t number = g_pool.chunkCount;
    const std::size_t blockSize = blockSizeOf(sizeClass);
    const std::size_t stride = blockSize + kAlign;
    const auto header = static_cast<std::uint16_t>((number << kChunkShift) | kFreeFlag);
    std::uint16_t* first = nullptr;
    std::uint16_t* previous = nullptr;
    for (std::size_t offset = kFirstHeader; offset + blockSize + 4 < size; offset += stride) {
        auto* block = reinterpret_cast<std::uint16_t*>(base + offset);
        *block = header;
        *trailerOf(block, blockSize) = kTrailer;
        linkOf(block) = nullptr;
        if (previous)
            linkOf(previous) = block;
        else
            first = block;
        previous = block;
    }
    const auto usedBytes = static_cast<std::uint32_t>(reinterpret_cast<char*>(previous) + stride - (base + kFirstHeader));
    g_pool.chunks[number] = Chunk{base, size, sizeClass, blockSize, StrideTest::make(static_cast<std::uint32_t>(stride)), usedBytes};

    std::uint32_t pos = number;
    while (pos > 0 && g_pool.byAddress[pos - 1].begin > base) {
        g_pool.byAddress[pos] = g_pool.byAddress[pos - 1];
        --pos;
    }
    g_pool.byAddress[pos] = ChunkSpan{base, base + size, number};
    g_pool.chunkCount = number + 1;

    cls.lastChunkSize = size;
    cls.freeHead = first;
    return true;
}

// Number of the chunk whose memory holds address, or -1.
int chunkContaining(const void* address)
{
    const char* p = static_cast<const char*>(address);
    const ChunkSpan* base = g_pool.byAddress;
    std::uint32_t count = g_pool.chunkCount;
    if (count == 0 || p < base[0].begin)
        return -1;
    // Last span that begins at or before p.
    while (count > 1) {
        const std::uint32_t half = count / 2;
        base = base[half].begin <= p ? base + half : base;
        count -= half;
    }
    return p < base->end ? static_cast<int>(base->number) : -1;
}

enum class BlockKind { Heap, Pool, Foreign };

// Classifies pointer under the lock. Heap: not inside any chunk. Foreign: inside a chunk but not
// the start of one of its blocks' user data, or its header names another chunk.
BlockKind classify(void* pointer, const Chunk** chunkOut)
{
    if (!pointer)
        return BlockKind::Heap;
    const int number = chunkContaining(headerOf(pointer));
    if (number < 0)
        return BlockKind::Heap;
    const Chunk& chunk = g_pool.chunks[number];
    const char* first = chunk.base + kFirstHeader;
    const char* header = reinterpret_cast<const char*>(headerOf(pointer));
    if (header < first)
        return BlockKind::Foreign;
    const auto offset = static_cast<std::uint32_t>(header - first);
    if (offset >= chunk.usedBytes || !chunk.stride.divides(offset)
        || (*headerOf(pointer) >> kChunkShift) != number)
        return BlockKind::Foreign;
    *chunkOut = &chunk;
    return BlockKind::Pool;
}

bool blockIntact(std::uint16_t* header, std::size_t blockSize)
{
    return *trailerOf(header, blockSize) == kTrailer;
}

} // namespace

bool mp_command_line_disables_pool(const wchar_t* commandLine)
{
    if (!commandLine)
        return false;
    wchar_t upper[260];
    std::size_t length = 0;
    for (; length < 259 && commandLine[length]; ++length)
        upper[length] = static_cast<wchar_t>(std::towupper(commandLine[length]));
    upper[length] = 0;
    return std::wcsstr(upper, L"/DISABLEMEMPOOL") != nullptr;
}

bool mp_enabled()
{
    ensureInitialised();
    return !g_pool.off;
}

std::size_t mp_block_size_for(std::size_t request)
{
    const int sizeClass = classOf(request);
    return sizeClass < 0 ? 0 : blockSizeOf(sizeClass);
}

void* mp_alloc(std::size_t size)
{
    ensureInitialised();
    const int sizeClass = g_pool.off ? -1 : classOf(size);
    if (sizeClass < 0)
        return std::malloc(size);

    Report report;
    void* result = nullptr;
    {
        PoolLock lock;
        SizeClass& cls = g_pool.classes[sizeClass];
        if (!cls.freeHead)
            makeChunk(sizeClass);
        if (std::uint16_t* block = cls.freeHead) {
            const std::size_t blockSize = kClasses.blockSize[sizeClass];
            cls.freeHead = linkOf(block);
            if (!(*block & kFreeFlag) || !blockIntact(block, blockSize)) {
                report.set(L"mp_alloc - detect block 0x", dataOf(block), L" corrupt!");
                *trailerOf(block, blockSize) = kTrailer;
            }
            *block = static_cast<std::uint16_t>(*block & ~kFreeFlag);
            result = dataOf(block);
        }
    }
    report.deliver();
    return result ? result : std::malloc(size);
}

int mp_free(void* pointer)
{
    if (!pointer)
        return 0;
    ensureInitialised();
    if (g_pool.off) {
        std::free(pointer);
        return 0;
    }
    Report report;
    BlockKind kind;
    {
        PoolLock lock;
        const Chunk* chunk = nullptr;
        kind = classify(pointer, &chunk);
        if (kind == BlockKind::Foreign) {
            report.set(L"mp_free - block 0x", pointer, L" not in mem pool!");
        } else if (kind == BlockKind::Pool) {
            std::uint16_t* block = headerOf(pointer);
            if (*block & kFreeFlag) {
                report.set(L"mp_free - repeat free block 0x", pointer, L"!");
            } else {
                if (!blockIntact(block, chunk->blockSize)) {
                    report.set(L"mp_free - detect block 0x", pointer, L" corrupt!");
                    *trailerOf(block, chunk->blockSize) = kTrailer;
                }
                SizeClass& cls = g_pool.classes[chunk->sizeClass];
                *block = static_cast<std::uint16_t>(*block | kFreeFlag);
                linkOf(block) = cls.freeHead;
                cls.freeHead = block;
            }
        }
    }
    report.deliver();
    if (kind == BlockKind::Heap)
        std::free(pointer);
    return 0;
}

std::size_t mp_size(void* pointer)
{
    if (!pointer)
        return 0;
    ensureInitialised();
    if (g_pool.off)
        return _msize(pointer);
    Report report;
    BlockKind kind;
    std::size_t size = 0;
    {
        PoolLock lock;
        const Chunk* chunk = nullptr;
        kind = classify(pointer, &chunk);
        if (kind == BlockKind::Pool)
            size = chunk->blockSize;
        else if (kind == BlockKind::Foreign)
            report.set(L"mp_free - block 0x", pointer, L" not in mem pool!");
    }
    report.deliver();
    return kind == BlockKind::Heap ? _msize(pointer) : size;
}

void* mp_realloc(void* pointer, std::size_t size)
{
    ensureInitialised();
    if (g_pool.off)
        return std::realloc(pointer, size);
    if (pointer) {
        Report report;
        BlockKind kind;
        bool keep = false;
        {
            PoolLock lock;
            const Chunk* chunk = nullptr;
            kind = classify(pointer, &chunk);
            if (kind == BlockKind::Foreign) {
                report.set(L"mp_free - block 0x", pointer, L" not in mem pool!");
            } else if (kind == BlockKind::Pool && chunk->blockSize >= size) {
                std::uint16_t* block = headerOf(pointer);
                if ((*block & kFreeFlag) || !blockIntact(block, chunk->blockSize))
                    report.set(L"mp_free - detect block 0x", pointer, L" corrupt!");
                *block = static_cast<std::uint16_t>(*block & ~kFreeFlag);
                *trailerOf(block, chunk->blockSize) = kTrailer;
                keep = true;
            }
        }
        report.deliver();
        if (kind == BlockKind::Heap)
            return std::realloc(pointer, size);
        if (kind == BlockKind::Foreign)
            return nullptr;
        if (keep)
            return pointer;
    }
    void* moved = mp_alloc(size);
    if (moved && pointer) {
        std::memcpy(moved, pointer, mp_size(pointer));
        mp_free(pointer);
    }
    return moved;
}

bool mp_owns(void* pointer)
{
    ensureInitialised();
    PoolLock lock;
    const Chunk* chunk = nullptr;
    return classify(pointer, &chunk) == BlockKind::Pool;
}

MpClassStats mp_class_stats(int sizeClass)
{
    MpClassStats stats;
    if (sizeClass < 0 || sizeClass >= kMpClassCount)
        return stats;
    ensureInitialised();
    stats.blockSize = blockSizeOf(sizeClass);
    PoolLock lock;
    for (std::uint32_t i = 0; i < g_pool.chunkCount; ++i) {
        const Chunk& chunk = g_pool.chunks[i];
        if (chunk.sizeClass != sizeClass)
            continue;
        ++stats.chunks;
        stats.blocks += chunk.usedBytes / (chunk.blockSize + kAlign);
    }
    for (std::uint16_t* block = g_pool.classes[sizeClass].freeHead; block; block = linkOf(block))
        ++stats.freeBlocks;
    return stats;
}

MpReportHook mp_set_report_hook(MpReportHook hook)
{
    return g_reportHook.exchange(hook);
}
