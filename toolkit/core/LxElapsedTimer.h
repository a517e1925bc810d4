#pragma once
// A 64-bit millisecond tick since system start that also works where GetTickCount64 is missing,
// and the stopwatch built on it.

#include <cstdint>

std::uint64_t tickCount64();

// Extends successive 32-bit GetTickCount readings to 64 bits: a reading lower than the previous
// one counts as one wrap of the 32-bit counter.
class LxTickExtender {
public:
    std::uint64_t extend(std::uint32_t reading);

private:
    std::uint32_t m_previous = 0;
    std::uint64_t m_wraps = 0;
};

class LxElapsedTimer {
public:
    // Stores the current tick and returns it; the stopwatch is valid from then on.
    std::uint64_t start();
    // Milliseconds since start (meaningless while invalid).
    std::int64_t elapsed() const;
    void invalidate() { m_valid = false; }
    bool isValid() const { return m_valid; }

private:
    std::uint64_t m_start = 0;
    bool m_valid = false;
};
