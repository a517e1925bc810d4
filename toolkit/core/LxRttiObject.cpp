#include "LxRttiObject.h"

#include "LxWeakRef.h"
#include "MemPool.h"

const LxClassInfo* LxRttiObject::staticClassInfo()
{
    static const LxClassInfo info(L"LxRttiObject", lxTypeTag("LROT"), nullptr, nullptr, sizeof(LxRttiObject));
    return &info;
}

namespace {
const LxClassInfo* const lxRegisteredLxRttiObject = LxRttiObject::staticClassInfo();
}

const LxClassInfo* LxRttiObject::classInfo() const
{
    return staticClassInfo();
}

LxRttiObject::~LxRttiObject()
{
    if (LxWeakRegistry* registry = LxWeakRegistry::existing())
        registry->objectDestroyed(this);
}

bool LxRttiObject::inherits(const wchar_t* className) const
{
    const LxClassInfo* info = LxClassInfo::find(className);
    return info && inherits(info);
}

void* LxRttiObject::operator new(std::size_t size) noexcept
{
    return mp_alloc(size);
}

void LxRttiObject::operator delete(void* block) noexcept
{
    mp_free(block);
}
