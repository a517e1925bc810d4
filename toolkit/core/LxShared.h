#pragma once
// Implicit sharing for the toolkit's containers: copies share one reference-counted block in the
// memory pool, and the first modifying access of a copy whose block is shared copies the data
// (copy on write). A snapshot taken by copying therefore never changes under its holder.

#include <atomic>
#include <new>
#include <utility>

#include "MemPool.h"

template <typename C>
class LxImplicitlyShared {
public:
    LxImplicitlyShared() noexcept = default;
    explicit LxImplicitlyShared(C value) : m_d(Data::create(std::move(value))) {}
    LxImplicitlyShared(const LxImplicitlyShared& other) noexcept : m_d(other.m_d)
    {
        if (m_d)
            m_d->refs.fetch_add(1, std::memory_order_relaxed);
    }
    LxImplicitlyShared(LxImplicitlyShared&& other) noexcept : m_d(other.m_d) { other.m_d = nullptr; }
    LxImplicitlyShared& operator=(LxImplicitlyShared other) noexcept
    {
        std::swap(m_d, other.m_d);
        return *this;
    }
    ~LxImplicitlyShared() { Data::release(m_d); }

    // Read access never copies.
    const C& data() const noexcept { return m_d ? m_d->value : empty(); }
    // Write access: makes the data private to this holder first.
    C& edit()
    {
        if (!m_d)
            m_d = Data::create(C());
        else if (m_d->refs.load(std::memory_order_acquire) != 1) {
            Data* copy = Data::create(m_d->value);
            Data::release(m_d);
            m_d = copy;
        }
        return m_d->value;
    }
    // Number of holders sharing the data (0 for a holder that never had any).
    int refCount() const noexcept { return m_d ? m_d->refs.load(std::memory_order_relaxed) : 0; }
    bool isSharedWith(const LxImplicitlyShared& other) const noexcept { return m_d && m_d == other.m_d; }
    void swap(LxImplicitlyShared& other) noexcept { std::swap(m_d, other.m_d); }

private:
    struct Data {
        std::atomic<int> refs{1};
        C value;

        explicit Data(C v) : value(std::move(v)) {}
        static Data* create(C v)
        {
            void* block = mp_alloc(sizeof(Data));
            if (!block)
                throw std::bad_alloc();
            return new (block) Data(std::move(v));
        }
        static void release(Data* d) noexcept
        {
            if (d && d->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                d->~Data();
                mp_free(d);
            }
        }
    };
    static const C& empty()
    {
        static const C value;
        return value;
    }

    Data* m_d = nullptr;
};
