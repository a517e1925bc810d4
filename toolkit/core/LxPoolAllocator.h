#pragma once
// Standard-library allocator over the checked memory pool: the toolkit's containers keep their
// nodes and buffers in pool blocks (requests above 256 bytes go to the heap through the pool).

#include <cstddef>
#include <new>

#include "MemPool.h"

template <typename T>
class LxPoolAllocator {
public:
    using value_type = T;
    static_assert(alignof(T) <= 8, "pool blocks are 8-byte aligned");

    LxPoolAllocator() noexcept = default;
    template <typename U>
    LxPoolAllocator(const LxPoolAllocator<U>&) noexcept {}

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        void* block = mp_alloc(count * sizeof(T));
        if (!block)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) noexcept { mp_free(block); }

    template <typename U>
    bool operator==(const LxPoolAllocator<U>&) const noexcept { return true; }
    template <typename U>
    bool operator!=(const LxPoolAllocator<U>&) const noexcept { return false; }
};
