#include "ArchiveExtractor.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "DiskOutputer.h"
#include "SetupLog.h"

extern "C" {
#include "7z.h"
#include "7zAlloc.h"
#include "7zCrc.h"
}

namespace {

// An ISeekInStream over bytes in memory. A read past the end fails and reads nothing.
struct CMemoryInStream {
    ISeekInStream vt;
    const Byte* base;
    UInt32 total;
    UInt32 position;
};

SRes memoryRead(ISeekInStreamPtr pp, void* buffer, size_t* size)
{
    auto* p = Z7_CONTAINER_FROM_VTBL(pp, CMemoryInStream, vt);
    if (static_cast<UInt64>(p->position) + *size > p->total) {
        *size = 0;
        return SZ_ERROR_ARCHIVE;
    }
    memcpy(buffer, p->base + p->position, *size);
    p->position += static_cast<UInt32>(*size);
    return SZ_OK;
}

SRes memorySeek(ISeekInStreamPtr pp, Int64* offset, ESzSeek origin)
{
    auto* p = Z7_CONTAINER_FROM_VTBL(pp, CMemoryInStream, vt);
    Int64 position = 0;
    switch (origin) {
    case SZ_SEEK_SET: position = *offset; break;
    case SZ_SEEK_CUR: position = static_cast<Int64>(p->position) + *offset; break;
    case SZ_SEEK_END: position = static_cast<Int64>(p->total) + *offset; break;
    }
    // Clamp instead of wrapping: a position outside the bytes makes the next read fail.
    if (position < 0)
        position = 0;
    if (position > static_cast<Int64>(p->total))
        position = p->total;
    p->position = static_cast<UInt32>(position);
    *offset = position;
    return SZ_OK;
}

void* heapAlloc(ISzAllocPtr, size_t size)
{
    return size == 0 ? nullptr : malloc(size);
}

void heapFree(ISzAllocPtr, void* address)
{
    free(address);
}

const ISzAlloc kHeap = {heapAlloc, heapFree};
constexpr size_t kLookBufferSize = static_cast<size_t>(1) << 18;

struct Archive {
    CSzArEx db;
    std::vector<Byte> lookBuffer;
    CLookToRead2 look;
    CMemoryInStream stream;
    Byte* block = nullptr;       // decoded solid block, kept across items
    UInt32 blockIndex = 0xFFFFFFFF;
    size_t blockSize = 0;

    Archive() { SzArEx_Init(&db); }
    ~Archive()
    {
        ISzAlloc_Free(&kHeap, block);
        SzArEx_Free(&db, &kHeap);
    }
};

std::wstring itemName(const CSzArEx& db, UInt32 index, std::vector<UInt16>* buffer)
{
    const size_t length = SzArEx_GetFileNameUtf16(&db, index, nullptr);
    if (length > buffer->size())
        buffer->assign(length, 0);
    SzArEx_GetFileNameUtf16(&db, index, buffer->data());
    size_t chars = length;
    while (chars > 0 && (*buffer)[chars - 1] == 0)
        --chars;
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer->data()), chars);
}

} // namespace

bool extractArchive(const unsigned char* bytes, size_t size, IItemOutputer& outputer, IStopQuery* stopQuery)
{
    if (!bytes || size > 0xFFFFFFFFu) {
        logPrint(L"extractArchive, no archive bytes or an archive over 4 GiB.");
        return false;
    }
    Archive archive;
    archive.stream.vt.Read = memoryRead;
    archive.stream.vt.Seek = memorySeek;
    archive.stream.base = bytes;
    archive.stream.total = static_cast<UInt32>(size);
    archive.stream.position = 0;
    archive.lookBuffer.resize(kLookBufferSize);
    LookToRead2_CreateVTable(&archive.look, False);
    archive.look.realStream = &archive.stream.vt;
    archive.look.buf = archive.lookBuffer.data();
    archive.look.bufSize = kLookBufferSize;
    LookToRead2_INIT(&archive.look);
    CrcGenerateTable();

    SRes result = SzArEx_Open(&archive.db, &archive.look.vt, &kHeap, &kHeap);
    if (result != SZ_OK) {
        logPrint(L"extractArchive, SzArEx_Open fail, error %d.", static_cast<int>(result));
        return false;
    }
    const UInt32 count = archive.db.NumFiles;
    std::vector<UInt16> nameBuffer;

    // Every name is checked before the first item is written.
    for (UInt32 i = 0; i < count; ++i) {
        if (!outputer.checkName(itemName(archive.db, i, &nameBuffer)))
            return false;
    }

    for (UInt32 i = 0; i < count; ++i) {
        if (!outputer.canContinue())
            break;
        const std::wstring name = itemName(archive.db, i, &nameBuffer);
        if (outputer.accept(name)) {
            const bool isDir = SzArEx_IsDir(&archive.db, i) != 0;
            size_t offset = 0;
            size_t itemSize = 0;
            if (!isDir) {
                result = SzArEx_Extract(&archive.db, &archive.look.vt, i, &archive.blockIndex, &archive.block,
                                        &archive.blockSize, &offset, &itemSize, &kHeap, &kHeap);
                if (result != SZ_OK) {
                    logPrint(L"extractArchive, SzArEx_Extract fail for %ls, error %d.", name.c_str(), static_cast<int>(result));
                    break;
                }
            }
            if (!outputer.output(name, isDir, isDir ? nullptr : archive.block + offset, itemSize)) {
                result = SZ_ERROR_FAIL;
                break;
            }
            outputer.onProgress(static_cast<int>(i), static_cast<int>(count));
        }
        if (stopQuery && stopQuery->isStopRequested()) {
            result = SZ_ERROR_FAIL;
            break;
        }
    }
    return result == SZ_OK;
}

bool extractArchive(const unsigned char* bytes, size_t size, const std::wstring& installPath,
                    ISetupControlSink* sink, IStopQuery* stopQuery)
{
    CDiskOutputer outputer(installPath, sink, stopQuery);
    return extractArchive(bytes, size, outputer, stopQuery);
}
