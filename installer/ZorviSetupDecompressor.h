#pragma once
// The extraction task: waits for or closes a running client, terminates the programs of the version
// folder, cleans up, then extracts the archive embedded as resource "ZIP" 101 into the install path.
// Synchronously (silent model) _syncDecompress runs on the calling thread and never closes a client;
// asynchronously its worker thread runs execute(). Both report through the sink.

#include <atomic>
#include <string>

#include "ArchiveExtractor.h"
#include "SetupInterfaces.h"
#include "WorkerThread.h"

class ZorviSetupDecompressor final : public CWorkerThread, public ISetupDecompressTask, public IStopQuery {
public:
    ZorviSetupDecompressor() = default;
    ~ZorviSetupDecompressor() override;

    bool start(bool async) override;
    void stop() override;
    void setSink(ISetupControlSink* sink) override { m_sink = sink; }
    void forceQuit() override;
    void setInstallPath(const std::wstring& path) override { m_installPath = path; }
    bool isStopRequested() override { return stopRequested(); }

    const std::wstring& installPath() const { return m_installPath; }

protected:
    void run() override { execute(); }

private:
    void execute();
    bool _syncDecompress();
    bool _decompress();
    HGLOBAL _load7zDataFromResource(DWORD* size);

    ISetupControlSink* m_sink = nullptr;
    std::wstring m_installPath;
    std::atomic<bool> m_forceQuit{false};
};
