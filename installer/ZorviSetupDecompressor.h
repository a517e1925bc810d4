#pragma once
// The extraction task. Synchronously it runs _syncDecompress on the calling thread; asynchronously
// its worker thread runs execute(). Both end with onDecompressFinish on the sink.
//
// This build carries no archive extraction yet: every run reports a failed extraction.

#include <atomic>
#include <string>

#include "SetupInterfaces.h"
#include "WorkerThread.h"

class ZorviSetupDecompressor final : public CWorkerThread, public ISetupDecompressTask {
public:
    ZorviSetupDecompressor() = default;
    ~ZorviSetupDecompressor() override;

    bool start(bool async) override;
    void stop() override;
    void setSink(ISetupControlSink* sink) override { m_sink = sink; }
    void forceQuit() override { m_forceQuit.store(true); }
    void setInstallPath(const std::wstring& path) override { m_installPath = path; }

    const std::wstring& installPath() const { return m_installPath; }

protected:
    void run() override { execute(); }

private:
    void execute();
    bool _syncDecompress();

    ISetupControlSink* m_sink = nullptr;
    std::wstring m_installPath;
    std::atomic<bool> m_forceQuit{false};
};
