#include "LxDeferredDeleter.h"

#include "DebugMessage.h"
#include "LxRttiObject.h"
#include "LxSingleton.h"

namespace {
constexpr int kInterval = 16;
}

LxDeferredDeleter* LxDeferredDeleter::instance()
{
    return LxSingleton<LxDeferredDeleter>::instance();
}

LxDeferredDeleter* LxDeferredDeleter::existing()
{
    return LxSingleton<LxDeferredDeleter>::existing();
}

LxDeferredDeleter::LxDeferredDeleter()
{
    m_timer.timeout.connect(this, &LxDeferredDeleter::processQueue);
    m_timer.start(0);
}

void LxDeferredDeleter::deleteLater(LxObject* object)
{
    if (!object)
        return;
    LxRttiObject* tracked = dynamic_cast<LxRttiObject*>(object);
    if (!tracked) {
        DebugMessage() << L"LxDeferredDeleter::deleteLater, object without class record refused:"
                       << object->objectName().c_str();
        return;
    }
    m_queue.append(LxWeakPtr<LxRttiObject>(tracked));
    if (!m_timer.isActive())
        m_timer.start(kInterval);
}

void LxDeferredDeleter::processQueue()
{
    LxList<LxWeakPtr<LxRttiObject>> taken;
    taken.swap(m_queue);
    for (const LxWeakPtr<LxRttiObject>& entry : taken) {
        if (LxRttiObject* object = entry.get())
            delete object;
    }
    taken.clear();
    if (m_queue.isEmpty())
        m_timer.stop();
}

void LxDeferredDeleter::flush()
{
    m_timer.stop();
    while (!m_queue.isEmpty())
        processQueue();
}
