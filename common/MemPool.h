#pragma once
// The checked memory pool behind the toolkit's small allocations (objects, strings, shared data
// blocks). Requests of up to 256 bytes are served from 13 size classes carved out of large
// VirtualAlloc chunks; each block carries a 16-bit header (chunk number, free flag) and a trailer
// magic, so that double frees, frees of foreign pointers and overruns are reported when the block
// is allocated or released. Larger requests, and every request when "/disablemempool" (any letter
// case) appears in the first 259 characters of the process command line, go to malloc/free.
//
// Block layout inside a chunk: user data is 8-byte aligned; the header sits in the 2 bytes right
// before it and the trailer (0xCDAB) in the 2 bytes right after the class's block size.
//
// All entries may be called from any thread; one lock guards the pool. A reported error never
// stops the call: a double free leaves the block and the free list untouched, a corrupt block is
// released (or handed out) all the same.

#include <cstddef>

void* mp_alloc(std::size_t size);
// Accepts null, pool blocks and malloc blocks. Always returns 0.
int mp_free(void* pointer);
// Usable size: the class's block size for a pool block, _msize otherwise; 0 for null.
std::size_t mp_size(void* pointer);
// Keeps a pool block in place while it is large enough; otherwise moves the data (as much as the
// old block holds) to a new block and frees the old one. Returns null and leaves pointer
// untouched when no memory could be had.
void* mp_realloc(void* pointer, std::size_t size);

// Number of size classes and the usable block size of a request, 0 for requests above 256 bytes.
constexpr int kMpClassCount = 13;
std::size_t mp_block_size_for(std::size_t request);
// True when pointer is the user data of a pool block (allocated or free).
bool mp_owns(void* pointer);
// False when the pool was switched off on the command line.
bool mp_enabled();
// The command-line rule: '/DISABLEMEMPOOL' anywhere in the first 259 characters, any letter case.
bool mp_command_line_disables_pool(const wchar_t* commandLine);

// Counts of one size class, taken under the lock (walks the free list; for tests and diagnostics).
struct MpClassStats {
    std::size_t blockSize = 0;
    int chunks = 0;
    std::size_t blocks = 0;      // laid out in all chunks of the class
    std::size_t freeBlocks = 0;  // on the free list
};
MpClassStats mp_class_stats(int sizeClass);

// Where pool errors go. The default shows a message box titled "mem pool error dectect!" and
// breaks into the debugger. Returns the previous hook; null restores the default.
using MpReportHook = void (*)(const wchar_t* text);
MpReportHook mp_set_report_hook(MpReportHook hook);
