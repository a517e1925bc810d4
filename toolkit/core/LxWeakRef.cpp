#include "LxWeakRef.h"

#include "LxRttiObject.h"
#include "LxSingleton.h"

namespace {

LxWeakBlock* newBlock(void* object, bool registered)
{
    void* memory = mp_alloc(sizeof(LxWeakBlock));
    if (!memory)
        return nullptr;
    return new (memory) LxWeakBlock{object, 0, registered};
}

void deleteBlock(LxWeakBlock* block)
{
    mp_free(block);
}

} // namespace

LxWeakRegistry* LxWeakRegistry::instance()
{
    return LxSingleton<LxWeakRegistry>::instance();
}

LxWeakRegistry* LxWeakRegistry::existing()
{
    return LxSingleton<LxWeakRegistry>::existing();
}

LxWeakRegistry::~LxWeakRegistry()
{
    // Holders may outlive the registry (objects of static storage): their blocks are handed over
    // to them, cleared, and freed by the last holder.
    for (const auto& entry : m_attached) {
        entry.second->object = nullptr;
        entry.second->registered = false;
        if (entry.second->refs == 0)
            deleteBlock(entry.second);
    }
    for (LxWeakBlock* block : m_detached) {
        block->registered = false;
        if (block->refs == 0)
            deleteBlock(block);
    }
}

LxWeakBlock* LxWeakRegistry::acquire(LxRttiObject* object)
{
    if (!object)
        return nullptr;
    LxWeakBlock* block = m_attached.value(object, nullptr);
    if (!block) {
        block = newBlock(object, true);
        if (!block)
            return nullptr;
        m_attached.insert(object, block);
    }
    ++block->refs;
    return block;
}

void LxWeakRegistry::objectDestroyed(const LxRttiObject* object)
{
    if (LxWeakBlock* block = m_attached.value(object, nullptr))
        detach(block);
}

void LxWeakRegistry::lastHolderGone(LxWeakBlock* block)
{
    // A block whose object still lives is forgotten, so that the next acquire makes a new one;
    // a detached block waits for the next purge.
    if (block->object)
        detach(block);
}

void LxWeakRegistry::detach(LxWeakBlock* block)
{
    m_attached.remove(static_cast<const LxRttiObject*>(block->object));
    block->object = nullptr;
    m_detached.append(block);
    if (m_detached.size() > m_threshold)
        purge();
}

void LxWeakRegistry::purge()
{
    LxList<LxWeakBlock*> kept;
    for (LxWeakBlock* block : m_detached) {
        if (block->refs == 0)
            deleteBlock(block);
        else
            kept.append(block);
    }
    const bool removedAny = kept.size() != m_detached.size();
    m_detached = kept;
    if (!removedAny)
        m_threshold *= 2;
    else
        m_threshold = m_detached.size() > 1000 ? m_detached.size() : 1000;
}

LxSignalReceiver::LxSignalReceiver() : m_block(newBlock(this, false))
{
    if (m_block)
        m_block->refs = 1;
}

LxSignalReceiver::~LxSignalReceiver()
{
    if (m_block) {
        m_block->object = nullptr;
        LxWeakHandle own(m_block);  // releases the receiver's own hold
    }
}

LxWeakBlock* LxSignalReceiver::acquireWeakBlock()
{
    if (m_block)
        ++m_block->refs;
    return m_block;
}

LxWeakHandle::LxWeakHandle(const LxWeakHandle& other) noexcept
{
    if (other.m_block && other.m_block->object) {
        m_block = other.m_block;
        ++m_block->refs;
    }
}

void LxWeakHandle::reset() noexcept
{
    LxWeakBlock* block = m_block;
    m_block = nullptr;
    if (!block || --block->refs > 0)
        return;
    if (block->registered) {
        if (LxWeakRegistry* registry = LxWeakRegistry::existing())
            registry->lastHolderGone(block);
    } else {
        deleteBlock(block);
    }
}
