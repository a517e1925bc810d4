#include "LxClassInfo.h"

#include <atomic>

#include "LxSingleton.h"

namespace {
std::atomic<LxTypeId> g_lastCountedId{0};
}

LxClassInfo::LxClassInfo(const wchar_t* className, LxTypeId tag, const LxClassInfo* base, Factory factory,
                         std::size_t instanceSize)
    : m_className(className)
    , m_typeId(tag != 0 ? tag : ++g_lastCountedId)
    , m_base(base)
    , m_factory(factory)
    , m_instanceSize(instanceSize)
{
    LxClassRegistry::instance()->registerClass(this);
}

LxRttiObject* LxClassInfo::create() const
{
    return m_factory ? m_factory() : nullptr;
}

void* LxClassInfo::allocate() const
{
    return mp_alloc(m_instanceSize);
}

void LxClassInfo::release(void* block)
{
    mp_free(block);
}

bool LxClassInfo::isA(const LxClassInfo* other) const
{
    if (!other)
        return false;
    for (const LxClassInfo* info = this; info; info = info->m_base)
        if (info == other)
            return true;
    return false;
}

const LxClassInfo* LxClassInfo::find(const wchar_t* className)
{
    return LxClassRegistry::instance()->byName(className);
}

const LxClassInfo* LxClassInfo::findById(LxTypeId typeId)
{
    return LxClassRegistry::instance()->byId(typeId);
}

LxClassRegistry* LxClassRegistry::instance()
{
    return LxSingleton<LxClassRegistry>::instance();
}

bool LxClassRegistry::registerClass(const LxClassInfo* info)
{
    const LxString name(info->className());
    if (m_byName.contains(name) || m_byId.contains(info->typeId()))
        return false;
    m_byName.insert(name, info);
    m_byId.insert(info->typeId(), info);
    return true;
}

const LxClassInfo* LxClassRegistry::byName(const wchar_t* className) const
{
    return className ? m_byName.value(LxString(className), nullptr) : nullptr;
}

const LxClassInfo* LxClassRegistry::byId(LxTypeId typeId) const
{
    return m_byId.value(typeId, nullptr);
}
