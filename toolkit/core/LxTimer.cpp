#include "LxTimer.h"

#include "LxSingleton.h"
#include "LxWindowClass.h"
#include "SetupLog.h"

LX_DEFINE_CLASS(LxTimer, lxTypeTag("TIMR"), LxRttiObject)

namespace {
const wchar_t kWindowClass[] = L"LxTimerServiceWindow";
}

LxTimer::~LxTimer()
{
    stop();
}

void LxTimer::start(int msec)
{
    if (isActive()) {
        if (msec == m_interval)
            return;
        stop();
    }
    m_interval = msec;
    m_id = LxTimerService::instance()->addTimer(this, msec);
}

void LxTimer::stop()
{
    if (isActive()) {
        if (LxTimerService* service = LxTimerService::existing())
            service->removeTimer(m_id);
    }
    m_id = -1;
    m_interval = -1;
}

LxTimerService* LxTimerService::instance()
{
    return LxSingleton<LxTimerService>::instance();
}

LxTimerService* LxTimerService::existing()
{
    return LxSingleton<LxTimerService>::existing();
}

bool LxTimerService::createWindow()
{
    static const bool registered = lxRegisterWindowClass(kWindowClass, &LxTimerService::windowProc);
    if (registered)
        m_window.reset(CreateWindowExW(0, kWindowClass, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!m_window)
        logPrint(L"LxTimerService::createWindow, no timer window, error %d.", static_cast<int>(GetLastError()));
    return m_window.valid();
}

int LxTimerService::addTimer(LxTimer* timer, int msec)
{
    if (!m_window)
        createWindow();
    int id = m_nextId;
    while (m_timers.contains(id))
        ++id;
    m_nextId = id + 1;
    const int result = static_cast<int>(SetTimer(m_window.get(), static_cast<UINT_PTR>(id),
                                                 static_cast<UINT>(msec < 0 ? 0 : msec), nullptr));
    m_timers.insert(result, timer);
    return result;
}

void LxTimerService::removeTimer(int id)
{
    m_timers.remove(id);
    if (m_window)
        KillTimer(m_window.get(), static_cast<UINT_PTR>(id));
    if (m_timers.isEmpty())
        m_window.reset();
}

LRESULT CALLBACK LxTimerService::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // A tick that was queued before its timer stopped finds no timer and is ignored.
    if (LxTimerService* service = existing()) {
        if (LxTimer* timer = service->m_timers.value(static_cast<int>(wParam), nullptr))
            timer->timeout.emit();
    }
    return 0;
}
