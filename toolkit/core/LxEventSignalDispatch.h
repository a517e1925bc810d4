#pragma once
// Per-object table from an event class to a signal with (target object, event): program code
// connects to the events of an item (a click of a button) and the item dispatches its events
// through the table. Lookup is by the event's exact class.

#include "LxContainers.h"
#include "LxEvent.h"
#include "LxRttiObject.h"
#include "LxSignal.h"

class LxEventSignalDispatch : public LxRttiObject {
    LX_DECLARE_CLASS(LxEventSignalDispatch)

public:
    using EventSignal = LxSignal<LxRttiObject*, LxEvent*>;

    explicit LxEventSignalDispatch(int owner = 0) : m_owner(owner) {}
    ~LxEventSignalDispatch() override;

    // Connects method to the signal of eventClass, making the signal on first use. Nothing happens
    // for a null event class.
    template <typename R, typename M>
    void connect(const LxClassInfo* eventClass, R* receiver, void (M::*method)(LxRttiObject*, LxEvent*))
    {
        if (EventSignal* signal = signalFor(eventClass))
            signal->connect(receiver, method);
    }
    template <typename R>
    void disconnect(const LxClassInfo* eventClass, R* receiver)
    {
        if (EventSignal* signal = m_signals.value(eventClass, nullptr))
            signal->disconnect(receiver);
    }

    // False (event untouched) when nothing ever connected to the event's class; otherwise emits
    // (target, event) and returns the accepted flag the handlers left.
    bool dispatch(LxRttiObject* target, LxEvent* event);

    EventSignal* signal(const LxClassInfo* eventClass) const { return m_signals.value(eventClass, nullptr); }
    int owner() const { return m_owner; }

private:
    EventSignal* signalFor(const LxClassInfo* eventClass);

    int m_owner;
    LxMap<const LxClassInfo*, EventSignal*> m_signals;
};
