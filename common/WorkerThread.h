#pragma once
// Base of every task that runs on a worker thread of its own. The task polls stopRequested() and
// leaves run() when it is set; stop() sets it and waits for the thread without time limit.

#include <atomic>
#include <cstdint>

#include "UniqueResource.h"

class CWorkerThread {
public:
    CWorkerThread() = default;
    virtual ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Creates the thread (suspended when asked) that calls run(). False, and nothing started, when
    // no thread could be created or one already exists.
    bool start(uint32_t parameter, bool suspended);
    // Resumes a suspended thread, then waits for it to end. Does nothing without a thread.
    void wait();
    // Sets the stop flag, waits for the thread, closes it and clears the flag again.
    void stop();

    bool hasThread() const { return m_thread.valid(); }
    unsigned threadId() const { return m_threadId; }

protected:
    virtual void run() = 0;
    bool stopRequested() const { return m_stop.load(); }
    uint32_t parameter() const { return m_parameter; }

private:
    static unsigned __stdcall threadProc(void* self);

    UniqueHandle m_thread;
    std::atomic<bool> m_stop{false};
    unsigned m_threadId = 0;
    uint32_t m_parameter = 0;
    bool m_suspended = false;
};
