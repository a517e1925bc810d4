#include "WorkerThread.h"

#include <process.h>

CWorkerThread::~CWorkerThread()
{
    // A derived task must stop its thread in its own destructor: by now run() is no longer callable.
    stop();
}

bool CWorkerThread::start(uint32_t parameter, bool suspended)
{
    if (m_thread)
        return false;
    m_parameter = parameter;
    m_suspended = suspended;
    unsigned id = 0;
    const uintptr_t handle =
        _beginthreadex(nullptr, 0, &CWorkerThread::threadProc, this, suspended ? CREATE_SUSPENDED : 0, &id);
    if (handle == 0)
        return false;
    m_thread.reset(reinterpret_cast<HANDLE>(handle));
    m_threadId = id;
    return true;
}

void CWorkerThread::wait()
{
    if (!m_thread)
        return;
    if (m_suspended) {
        ResumeThread(m_thread.get());
        m_suspended = false;
    }
    WaitForSingleObject(m_thread.get(), INFINITE);
}

void CWorkerThread::stop()
{
    if (m_thread) {
        m_stop.store(true);
        wait();
        m_thread.reset();
    }
    m_threadId = 0;
    m_stop.store(false);
}

unsigned __stdcall CWorkerThread::threadProc(void* self)
{
    auto* task = static_cast<CWorkerThread*>(self);
    if (!task)
        return static_cast<unsigned>(-1);
    task->run();
    return 0;
}
