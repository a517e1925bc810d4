// Started by the memory pool tests: exits with 1 when a small allocation comes from the pool and
// 0 when it comes from the heap (the pool was switched off on the command line).

#include <windows.h>

#include "MemPool.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    void* block = mp_alloc(16);
    const bool pooled = mp_owns(block) && mp_enabled();
    mp_free(block);
    return pooled ? 1 : 0;
}
