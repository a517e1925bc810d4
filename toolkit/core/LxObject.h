#pragma once
// The owner tree: an object has a parent, ordered children and a name; deleting a parent deletes
// its children in child order, each with no parent any more when its destructor runs.
//
// LxObject has no class record of its own: toolkit classes derive from it and from LxRttiObject.
// Guarded pointers (LxGuardedPtr) read null once their object was destroyed.

#include "LxContainers.h"

class LxObject {
public:
    explicit LxObject(LxObject* parent = nullptr);
    virtual ~LxObject();
    LxObject(const LxObject&) = delete;
    LxObject& operator=(const LxObject&) = delete;

    // Nothing happens when parent is this object or already its parent; otherwise the object
    // leaves its old parent's children and is appended to the new parent's.
    void setParent(LxObject* parent);
    LxObject* parent() const { return m_parent; }
    const LxList<LxObject*>& children() const { return m_children; }
    const LxString& objectName() const { return m_name; }
    void setObjectName(const LxString& name) { m_name = name; }

    // Deletes the object on a later timer tick of the message loop, never inside this call.
    // Objects without a class record (not LxRttiObjects) are refused with a debug message.
    void deleteLater();

    // Pointer variables that are set to null when object is destroyed. A slot is registered once
    // per call; unregistering a slot that is not registered does nothing.
    static void addGuard(LxObject* object, void** slot);
    static void removeGuard(LxObject* object, void** slot);

private:
    LxObject* m_parent = nullptr;
    LxString m_name;
    LxList<LxObject*> m_children;
};

// A pointer to an LxObject (or a class derived from it) that becomes null when the object dies.
template <typename T>
class LxGuardedPtr {
public:
    LxGuardedPtr() noexcept = default;
    LxGuardedPtr(T* object) { set(object); }
    LxGuardedPtr(const LxGuardedPtr& other) { set(other.get()); }
    LxGuardedPtr& operator=(const LxGuardedPtr& other)
    {
        if (this != &other)
            set(other.get());
        return *this;
    }
    LxGuardedPtr& operator=(T* object)
    {
        set(object);
        return *this;
    }
    ~LxGuardedPtr() { set(nullptr); }

    T* get() const noexcept { return static_cast<T*>(m_object); }
    T* operator->() const noexcept { return get(); }
    explicit operator bool() const noexcept { return m_object != nullptr; }

private:
    void set(T* object)
    {
        if (m_object)
            LxObject::removeGuard(m_object, slot());
        m_object = object;
        if (m_object)
            LxObject::addGuard(m_object, slot());
    }
    void** slot() { return reinterpret_cast<void**>(&m_object); }

    LxObject* m_object = nullptr;
};
