#pragma once
// The running-client check of the normal model: a pass reports onCheckPassed when no client started
// from the install folder runs; when one runs it reports onClientRunning once and then only waits
// for its stop flag (a new pass answers the user's retry). Without a sink a pass passes at once
// and reports nothing.

#include <string>

#include "UninstallInterfaces.h"
#include "WorkerThread.h"

class ZorviUninstallChecker final : public CWorkerThread {
public:
    ZorviUninstallChecker() = default;
    ~ZorviUninstallChecker() override;

    // Install folder, ending in a backslash; set before the pass starts.
    void setPath(const std::wstring& path) { m_path = path; }
    void setSink(IUninstallControlSink* sink) { m_sink = sink; }
    // Starts a new pass on a new thread. An earlier pass keeps waiting for its stop flag; only the
    // newest thread is kept (and waited for by stop). False when no thread could be created.
    bool startPass();

    // Whether a process named exactly "Zorvi.exe" runs from the install folder (path compared
    // without regard to ASCII case).
    bool isClientRunning() const;

protected:
    void run() override;

private:
    std::wstring m_path;
    IUninstallControlSink* m_sink = nullptr;
};
