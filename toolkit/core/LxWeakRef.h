#pragma once
// Weak references: a shared block holds the object pointer and the number of weak pointers that
// hold the block; the pointer becomes null when the object is destroyed, so holders can tell a
// dead object from a live one.
//
// LxRttiObjects are tracked by the process-wide LxWeakRegistry (one block per object, made on
// first use); an LxSignalReceiver owns its own block instead. LxWeakPtr<T> picks the right one.

#include <cstddef>
#include <type_traits>

#include "LxContainers.h"

class LxRttiObject;

struct LxWeakBlock {
    void* object;     // the LxRttiObject or LxSignalReceiver, null once it is gone
    int refs;         // holders
    bool registered;  // belongs to the registry (else to a receiver)
};

class LxWeakRegistry {
public:
    static LxWeakRegistry* instance();
    static LxWeakRegistry* existing();  // null when none was made or it is gone
    LxWeakRegistry() = default;
    ~LxWeakRegistry();
    LxWeakRegistry(const LxWeakRegistry&) = delete;
    LxWeakRegistry& operator=(const LxWeakRegistry&) = delete;

    // The object's block with one more holder; made on first use. Null for null.
    LxWeakBlock* acquire(LxRttiObject* object);
    // Called by LxRttiObject's destructor: its block, if any, is cleared and detached.
    void objectDestroyed(const LxRttiObject* object);
    // Called when the last holder of a registered block let go.
    void lastHolderGone(LxWeakBlock* block);

    std::size_t attachedCount() const { return m_attached.size(); }
    std::size_t detachedCount() const { return m_detached.size(); }
    std::size_t purgeThreshold() const { return m_threshold; }

private:
    void detach(LxWeakBlock* block);
    void purge();

    LxMap<const LxRttiObject*, LxWeakBlock*> m_attached;
    LxList<LxWeakBlock*> m_detached;
    std::size_t m_threshold = 1000;
};

// A base for receivers that are not tracked by the registry (services, native window parts).
class LxSignalReceiver {
public:
    LxSignalReceiver();
    virtual ~LxSignalReceiver();
    LxSignalReceiver(const LxSignalReceiver&) = delete;
    LxSignalReceiver& operator=(const LxSignalReceiver&) = delete;

    // The receiver's own block with one more holder.
    LxWeakBlock* acquireWeakBlock();

private:
    LxWeakBlock* m_block;
};

// One counted hold on a block, whatever kind of object it tracks.
class LxWeakHandle {
public:
    LxWeakHandle() noexcept = default;
    explicit LxWeakHandle(LxWeakBlock* acquired) noexcept : m_block(acquired) {}
    // A handle of a dead object copies as null.
    LxWeakHandle(const LxWeakHandle& other) noexcept;
    LxWeakHandle(LxWeakHandle&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    LxWeakHandle& operator=(LxWeakHandle other) noexcept
    {
        std::swap(m_block, other.m_block);
        return *this;
    }
    ~LxWeakHandle() { reset(); }

    void* object() const noexcept { return m_block ? m_block->object : nullptr; }
    LxWeakBlock* block() const noexcept { return m_block; }
    void reset() noexcept;

private:
    LxWeakBlock* m_block = nullptr;
};

// How a T is tracked: through its LxSignalReceiver block when it is one, else the registry.
template <typename T>
using LxWeakBase = std::conditional_t<std::is_base_of_v<LxSignalReceiver, T>, LxSignalReceiver, LxRttiObject>;

template <typename T>
LxWeakBlock* lxWeakAcquire(T* object)
{
    if (!object)
        return nullptr;
    if constexpr (std::is_base_of_v<LxSignalReceiver, T>)
        return static_cast<LxSignalReceiver*>(object)->acquireWeakBlock();
    else
        return LxWeakRegistry::instance()->acquire(static_cast<LxRttiObject*>(object));
}

// The value a block of T holds for object (what LxWeakHandle::object() returns while it lives).
template <typename T>
void* lxWeakStored(T* object)
{
    return static_cast<void*>(static_cast<LxWeakBase<T>*>(object));
}

template <typename T>
T* lxWeakRestore(void* stored)
{
    return static_cast<T*>(static_cast<LxWeakBase<T>*>(stored));
}

template <typename T>
class LxWeakPtr {
public:
    LxWeakPtr() noexcept = default;
    LxWeakPtr(T* object) : m_handle(lxWeakAcquire(object)) {}

    T* get() const noexcept
    {
        void* stored = m_handle.object();
        return stored ? lxWeakRestore<T>(stored) : nullptr;
    }
    T* operator->() const noexcept { return get(); }
    explicit operator bool() const noexcept { return get() != nullptr; }
    bool isNull() const noexcept { return get() == nullptr; }
    LxWeakBlock* block() const noexcept { return m_handle.block(); }
    void reset() noexcept { m_handle.reset(); }

    bool operator==(const LxWeakPtr& other) const noexcept { return m_handle.block() == other.m_handle.block(); }

private:
    LxWeakHandle m_handle;
};
