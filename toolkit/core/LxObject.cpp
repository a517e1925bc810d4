#include "LxObject.h"

#include <algorithm>

#include "LxDeferredDeleter.h"
#include "LxSingleton.h"

namespace {

// Object -> addresses of the pointer variables that point at it. A freed entry (null) is reused
// before the list grows.
class LxGuardMap {
public:
    void add(LxObject* object, void** slot)
    {
        LxList<void**> slots = m_slots.value(object);
        auto& edit = slots.edit();
        const auto freeSlot = std::find(edit.begin(), edit.end(), nullptr);
        if (freeSlot != edit.end())
            *freeSlot = slot;
        else
            edit.push_back(slot);
        m_slots.insert(object, slots);
    }
    void remove(LxObject* object, void** slot)
    {
        if (!m_slots.contains(object))
            return;
        LxList<void**> slots = m_slots.value(object);
        auto& edit = slots.edit();
        const auto found = std::find(edit.begin(), edit.end(), slot);
        if (found == edit.end())
            return;
        *found = nullptr;
        m_slots.insert(object, slots);
    }
    void clear(LxObject* object)
    {
        if (!m_slots.contains(object))
            return;
        const LxList<void**> slots = m_slots.value(object);
        m_slots.remove(object);
        for (void** slot : slots)
            if (slot)
                *slot = nullptr;
    }

private:
    LxMap<LxObject*, LxList<void**>> m_slots;
};

} // namespace

LxObject::LxObject(LxObject* parent)
{
    LxSingleton<LxGuardMap>::instance();
    setParent(parent);
}

LxObject::~LxObject()
{
    if (LxGuardMap* guards = LxSingleton<LxGuardMap>::existing())
        guards->clear(this);
    // Take the first child each time: a child's destructor may move or delete its siblings.
    while (!m_children.isEmpty()) {
        LxObject* child = m_children.first();
        m_children.removeAt(0);
        child->m_parent = nullptr;
        delete child;
    }
    setParent(nullptr);
}

void LxObject::setParent(LxObject* parent)
{
    if (parent == this || parent == m_parent)
        return;
    if (m_parent)
        m_parent->m_children.removeAll(this);
    m_parent = parent;
    if (m_parent)
        m_parent->m_children.append(this);
}

void LxObject::deleteLater()
{
    LxDeferredDeleter::instance()->deleteLater(this);
}

void LxObject::addGuard(LxObject* object, void** slot)
{
    if (object && slot)
        LxSingleton<LxGuardMap>::instance()->add(object, slot);
}

void LxObject::removeGuard(LxObject* object, void** slot)
{
    if (LxGuardMap* guards = LxSingleton<LxGuardMap>::existing())
        guards->remove(object, slot);
}
