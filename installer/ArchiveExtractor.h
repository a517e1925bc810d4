#pragma once
// Extraction of a 7z archive held in memory (the installer's own resource), item by item, through an
// IItemOutputer that decides where each item goes. The archive bytes are read in place, never
// copied; each solid block is decoded once into one buffer from which its items are written.

#include <cstddef>
#include <string>

class ISetupControlSink;

class IStopQuery {
public:
    virtual bool isStopRequested() = 0;

protected:
    ~IStopQuery() = default;
};

class IItemOutputer {
public:
    virtual bool accept(const std::wstring& name) = 0;
    virtual bool output(const std::wstring& name, bool isDir, const unsigned char* data, size_t size) = 0;
    virtual bool canContinue() = 0;
    virtual void onProgress(int index, int total) = 0;
    // Every item name, before anything is written; false rejects the whole archive.
    virtual bool checkName(const std::wstring& name) = 0;

protected:
    ~IItemOutputer() = default;
};

// True when every item was handled. On a damaged archive, a rejected item name, a failed write or a
// stop request it returns false; items written before stay on disk.
bool extractArchive(const unsigned char* bytes, size_t size, IItemOutputer& outputer, IStopQuery* stopQuery);

// The same with a CDiskOutputer over installPath reporting progress to sink (which may be null).
bool extractArchive(const unsigned char* bytes, size_t size, const std::wstring& installPath,
                    ISetupControlSink* sink, IStopQuery* stopQuery);
