#include "MessagePump.h"

#include <windows.h>

#include "LxElapsedTimer.h"

bool pumpUntil(const std::function<bool()>& done, unsigned timeoutMs)
{
    LxElapsedTimer clock;
    clock.start();
    MSG msg;
    while (!done()) {
        if (clock.elapsed() >= static_cast<std::int64_t>(timeoutMs))
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done())
                return true;
        }
    }
    return true;
}

void pumpFor(unsigned durationMs)
{
    pumpUntil([] { return false; }, durationMs);
}
