#pragma once
// Runs the thread's messages (timers, windows) until done() holds or timeoutMs passed; returns
// whether done() held. done() is checked after every dispatched message.

#include <functional>

bool pumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 10000);
// Dispatches messages for about durationMs.
void pumpFor(unsigned durationMs);
