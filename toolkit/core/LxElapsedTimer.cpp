#include "LxElapsedTimer.h"

#include <windows.h>

std::uint64_t LxTickExtender::extend(std::uint32_t reading)
{
    if (reading < m_previous)
        ++m_wraps;
    m_previous = reading;
    return (m_wraps << 32) + reading;
}

std::uint64_t tickCount64()
{
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const TickCount64 system = [] {
        HMODULE kernel = GetModuleHandleW(L"kernel32");
        return kernel ? reinterpret_cast<TickCount64>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")))
                      : nullptr;
    }();
    if (system)
        return system();
    static LxTickExtender extender;
    return extender.extend(GetTickCount());
}

std::uint64_t LxElapsedTimer::start()
{
    m_start = tickCount64();
    m_valid = true;
    return m_start;
}

std::int64_t LxElapsedTimer::elapsed() const
{
    return static_cast<std::int64_t>(tickCount64() - m_start);
}
