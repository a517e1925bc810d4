#pragma once
// Class records of the toolkit: name, four-character type tag, base record, factory and instance
// size of every toolkit class, and the process-wide registry that finds them by name or type id.
//
// A record is built by the first call of its class's staticClassInfo() and lives until process
// exit. Registration never fails loudly: a record whose name is already registered, or whose type
// id is taken, stays out of the registry and still works through its accessor.

#include <cstddef>
#include <cstdint>

#include "LxContainers.h"

class LxRttiObject;

using LxTypeId = std::int32_t;

// "TIMR" -> 0x54494D52: the first character is the most significant byte.
constexpr LxTypeId lxTypeTag(const char (&tag)[5])
{
    return static_cast<LxTypeId>((static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) << 24)
                                 | (static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 16)
                                 | (static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 8)
                                 | static_cast<std::uint32_t>(static_cast<unsigned char>(tag[3])));
}

class LxClassInfo {
public:
    using Factory = LxRttiObject* (*)();

    // tag 0 takes the next value of a process-wide counter (1, 2, ...). Registers the record.
    LxClassInfo(const wchar_t* className, LxTypeId tag, const LxClassInfo* base, Factory factory,
                std::size_t instanceSize);
    LxClassInfo(const LxClassInfo&) = delete;
    LxClassInfo& operator=(const LxClassInfo&) = delete;

    const wchar_t* className() const { return m_className; }
    LxTypeId typeId() const { return m_typeId; }
    const LxClassInfo* base() const { return m_base; }
    std::size_t instanceSize() const { return m_instanceSize; }
    bool hasFactory() const { return m_factory != nullptr; }

    // A new instance from the factory (its memory from the pool), or null for an abstract class.
    LxRttiObject* create() const;
    // Pool memory for one instance, and its release.
    void* allocate() const;
    static void release(void* block);

    // True when other is this record or one of its bases.
    bool isA(const LxClassInfo* other) const;

    // Registered records; null when there is none.
    static const LxClassInfo* find(const wchar_t* className);
    static const LxClassInfo* findById(LxTypeId typeId);

private:
    const wchar_t* m_className;
    LxTypeId m_typeId;
    const LxClassInfo* m_base;
    Factory m_factory;
    std::size_t m_instanceSize;
};

// The process-wide maps from class name and from type id to the record.
class LxClassRegistry {
public:
    static LxClassRegistry* instance();

    // False (and nothing entered) when the name is already known or the type id is taken.
    bool registerClass(const LxClassInfo* info);
    const LxClassInfo* byName(const wchar_t* className) const;
    const LxClassInfo* byId(LxTypeId typeId) const;

private:
    LxMap<LxString, const LxClassInfo*> m_byName;
    LxMap<LxTypeId, const LxClassInfo*> m_byId;
};
