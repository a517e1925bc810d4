#pragma once
// The base of the toolkit's event classes. Event classes are declared with type tag 0, so each
// gets the next type id of the process; type() is the record that dispatch tables compare by
// identity (the event's own class, no base-class fallback).

#include <cstdint>

#include "LxRttiObject.h"

class LxEvent : public LxRttiObject {
    LX_DECLARE_CLASS(LxEvent)

public:
    enum Flag : std::uint16_t { Accepted = 0x1, Tunnel = 0x2 };

    LxEvent() = default;
    ~LxEvent() override = default;

    virtual const LxClassInfo* type() const { return classInfo(); }

    bool isAccepted() const { return (m_flags & Accepted) != 0; }
    void setAccepted(bool accepted)
    {
        m_flags = static_cast<std::uint16_t>(accepted ? (m_flags | Accepted) : (m_flags & ~Accepted));
    }
    void accept() { setAccepted(true); }
    void ignore() { setAccepted(false); }
    std::uint16_t flags() const { return m_flags; }

protected:
    std::uint16_t m_flags = 0;
};
