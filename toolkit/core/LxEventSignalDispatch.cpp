#include "LxEventSignalDispatch.h"

LX_DEFINE_CLASS(LxEventSignalDispatch, lxTypeTag("ESDH"), LxRttiObject)

LxEventSignalDispatch::~LxEventSignalDispatch()
{
    const LxMap<const LxClassInfo*, EventSignal*> signals = m_signals;
    m_signals.clear();
    for (const auto& entry : signals)
        delete entry.second;
}

LxEventSignalDispatch::EventSignal* LxEventSignalDispatch::signalFor(const LxClassInfo* eventClass)
{
    if (!eventClass)
        return nullptr;
    EventSignal* signal = m_signals.value(eventClass, nullptr);
    if (!signal) {
        signal = new EventSignal();
        m_signals.insert(eventClass, signal);
    }
    return signal;
}

bool LxEventSignalDispatch::dispatch(LxRttiObject* target, LxEvent* event)
{
    if (!event)
        return false;
    EventSignal* signal = m_signals.value(event->type(), nullptr);
    if (!signal)
        return false;
    signal->emit(target, event);
    return event->isAccepted();
}
