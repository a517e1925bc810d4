#pragma once
// LxTimer: a periodic millisecond timer that emits timeout on every tick of the message loop.
// All timers share one hidden native window of the LxTimerService, which exists only while at
// least one timer runs. UI thread only.

#include <windows.h>

#include "LxContainers.h"
#include "LxObject.h"
#include "LxRttiObject.h"
#include "LxSignal.h"
#include "UniqueResource.h"

class LxTimer : public LxObject, public LxRttiObject {
    LX_DECLARE_CLASS(LxTimer)

public:
    explicit LxTimer(LxObject* parent = nullptr) : LxObject(parent) {}
    ~LxTimer() override;

    // Does nothing when the timer already runs with this interval (the period is not restarted);
    // a running timer with another interval is stopped first and gets a new id.
    void start(int msec);
    void stop();
    bool isActive() const { return m_id != -1; }
    int interval() const { return m_interval; }  // -1 while inactive
    int timerId() const { return m_id; }         // -1 while inactive

    LxSignal<> timeout;

private:
    int m_id = -1;
    int m_interval = -1;
};

class LxTimerService {
public:
    static LxTimerService* instance();
    static LxTimerService* existing();
    LxTimerService() = default;
    ~LxTimerService() = default;
    LxTimerService(const LxTimerService&) = delete;
    LxTimerService& operator=(const LxTimerService&) = delete;

    // Starts a native timer on the hidden window (made when missing) and returns its id: the next
    // free id, as SetTimer returned it (0 when SetTimer failed: the timer then never ticks).
    int addTimer(LxTimer* timer, int msec);
    // Stops the native timer; the hidden window goes with the last running timer.
    void removeTimer(int id);

    HWND window() const { return m_window.get(); }
    std::size_t timerCount() const { return m_timers.size(); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool createWindow();

    UniqueWindow m_window;
    LxMap<int, LxTimer*> m_timers;
    int m_nextId = 1;
};
