#pragma once
// Deferred deletion: objects queued with deleteLater are deleted on a later tick of the deleter's
// 16 ms timer, never inside the call that queues them. The queue holds weak references, so an
// object queued twice or destroyed meanwhile is deleted at most once; objects queued while a tick
// deletes others are deleted on the following tick.

#include "LxContainers.h"
#include "LxObject.h"
#include "LxTimer.h"
#include "LxWeakRef.h"

class LxRttiObject;

class LxDeferredDeleter : public LxSignalReceiver {
public:
    static LxDeferredDeleter* instance();
    static LxDeferredDeleter* existing();
    // Starts the timer once with interval 0; its first tick finds the queue empty and stops it.
    LxDeferredDeleter();
    // Objects still queued are left alone.
    ~LxDeferredDeleter() override = default;

    // Queues object. An object without a class record (not an LxRttiObject) is refused with a
    // debug message and stays alive.
    void deleteLater(LxObject* object);
    // Stops the timer and deletes everything queued, including what those deletions queue.
    void flush();

    std::size_t pendingCount() const { return m_queue.size(); }
    const LxTimer& timer() const { return m_timer; }

private:
    void processQueue();

    LxList<LxWeakPtr<LxRttiObject>> m_queue;
    LxTimer m_timer;
};
