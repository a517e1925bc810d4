// usage: bench_extract <archive.7z> <install folder>
// Extracts the archive with the installer's extraction code, read from a memory mapping of the file
// as the installer reads its resource, and prints the elapsed time and the process's peak memory.

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "ArchiveExtractor.h"
#include "UniqueResource.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fwprintf(stderr, L"usage: bench_extract <archive.7z> <install folder>\n");
        return 2;
    }
    UniqueFileHandle file(CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        fwprintf(stderr, L"cannot open %ls\n", argv[1]);
        return 1;
    }
    UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    const void* view = mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (!view) {
        fwprintf(stderr, L"cannot map %ls\n", argv[1]);
        return 1;
    }
    std::wstring target = argv[2];
    if (target.back() != L'\\')
        target += L'\\';

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const bool ok = extractArchive(static_cast<const unsigned char*>(view), static_cast<size_t>(size.QuadPart), target,
                                   nullptr, nullptr);
    QueryPerformanceCounter(&end);
    UnmapViewOfFile(view);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    wprintf(L"ours: ok=%d seconds=%.3f peak_private_mb=%.1f peak_working_set_mb=%.1f\n", ok ? 1 : 0,
            double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
            double(memory.PeakPagefileUsage) / 1048576.0, double(memory.PeakWorkingSetSize) / 1048576.0);
    return ok ? 0 : 1;
}
