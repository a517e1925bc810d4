#pragma once
// The root of every toolkit class: the dynamic class record, type tests along the record chain,
// and allocation from the memory pool (new and delete of any toolkit class go through the pool,
// and the deleting destructor releases the block of the object's own class).
//
// A class takes part with LX_DECLARE_CLASS in its body and one LX_DEFINE_CLASS (with a factory:
// the class is default-constructible) or LX_DEFINE_ABSTRACT_CLASS in its source file:
//
//     class LxTimer : public LxObject, public LxRttiObject {
//         LX_DECLARE_CLASS(LxTimer)
//     ...
//     LX_DEFINE_CLASS(LxTimer, lxTypeTag("TIMR"), LxRttiObject)

#include <cstddef>
#include <new>

#include "LxClassInfo.h"

class LxRttiObject {
public:
    static const LxClassInfo* staticClassInfo();
    virtual const LxClassInfo* classInfo() const;
    virtual ~LxRttiObject();

    bool inherits(const LxClassInfo* info) const { return classInfo()->isA(info); }
    // A name that no registered class has never matches.
    bool inherits(const wchar_t* className) const;

    // Null when no memory could be had; the new-expression then yields null.
    static void* operator new(std::size_t size) noexcept;
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void* block) noexcept;
    static void operator delete(void*, void*) noexcept {}

protected:
    LxRttiObject() = default;
    LxRttiObject(const LxRttiObject&) = default;
    LxRttiObject& operator=(const LxRttiObject&) = default;
};

// The object as a T when it is not null and its class is T or derives from T; null otherwise.
template <typename T>
T* lx_cast(LxRttiObject* object)
{
    return object && object->inherits(T::staticClassInfo()) ? static_cast<T*>(object) : nullptr;
}
template <typename T>
const T* lx_cast(const LxRttiObject* object)
{
    return object && object->inherits(T::staticClassInfo()) ? static_cast<const T*>(object) : nullptr;
}

template <typename T>
LxRttiObject* lxCreateInstance()
{
    return new T();
}

#define LX_DECLARE_CLASS(Class)                      \
public:                                              \
    static const LxClassInfo* staticClassInfo();     \
    const LxClassInfo* classInfo() const override;   \
                                                     \
private:

#define LX_WIDEN_(text) L##text
#define LX_WIDEN(text) LX_WIDEN_(text)

#define LX_DEFINE_CLASS_RECORD(Class, Tag, Base, Factory)                                             \
    const LxClassInfo* Class::staticClassInfo()                                                       \
    {                                                                                                 \
        static const LxClassInfo info(LX_WIDEN(#Class), Tag, Base::staticClassInfo(), Factory, sizeof(Class)); \
        return &info;                                                                                 \
    }                                                                                                 \
    const LxClassInfo* Class::classInfo() const { return staticClassInfo(); }                         \
    namespace {                                                                                       \
    const LxClassInfo* const lxRegistered##Class = Class::staticClassInfo();                          \
    }

#define LX_DEFINE_CLASS(Class, Tag, Base) LX_DEFINE_CLASS_RECORD(Class, Tag, Base, &lxCreateInstance<Class>)
#define LX_DEFINE_ABSTRACT_CLASS(Class, Tag, Base) LX_DEFINE_CLASS_RECORD(Class, Tag, Base, nullptr)
