#pragma once
// The task that empties and removes the install folder: tells the client's statistics tool about
// the uninstallation, lets its registration tool unregister the client, terminates the programs
// running directly from the install folder, deletes the files and reports the finish. It runs once,
// on its worker thread or synchronously through execute(), and always to its end (its stop flag is
// not read). Failed deletions are logged and leave the file, and the folders holding it, in place.

#include <string>

#include "UninstallInterfaces.h"
#include "WorkerThread.h"

class ZorviFileCleaner final : public CWorkerThread {
public:
    // The client version folder below the install folder that holds the client's tools.
    static constexpr const wchar_t* kClientVersion = L"8.4.0.4";
    // The total reported with every progress step, whatever the number of files.
    static constexpr int kProgressTotal = 200;

    ZorviFileCleaner() = default;
    ~ZorviFileCleaner() override;

    // Folder to empty, ending in a backslash. An empty path is logged and keeps the old one.
    void setPath(const std::wstring& path);
    const std::wstring& path() const { return m_path; }
    void setSink(IUninstallControlSink* sink) { m_sink = sink; }

    // The cleaning sequence on the calling thread.
    void execute();

protected:
    void run() override { execute(); }

private:
    void _setCurrentDirectory();
    void _reportProgress(const std::wstring& name);
    int _readProductNumber();
    void _startInstallstat();
    void _startZorviRun();
    void _killProcesses();
    void _deleteDirectory(const std::wstring& folder);

    std::wstring m_path;
    IUninstallControlSink* m_sink = nullptr;
};
