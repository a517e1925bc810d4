#pragma once
// The uninstall controller: chooses the run model from the command line, refuses to remove a
// protected folder (a drive root or one holding the system's or the user's well-known folders),
// and turns what the tasks report into window messages. The process exit code is 0 in every model.

#include <memory>
#include <string>

#include "UninstallInterfaces.h"

class ZorviUninstallCore;
class ZorviUninstallUI;

class ZorviUninstallControl final : public IUninstallControl, public IUninstallControlSink {
public:
    ZorviUninstallControl();
    ~ZorviUninstallControl() override;  // waits for the check pass and the file cleaner without limit
    ZorviUninstallControl(const ZorviUninstallControl&) = delete;
    ZorviUninstallControl& operator=(const ZorviUninstallControl&) = delete;

    // Reads the command line (the process's own when null) and runs the chosen model; returns it.
    // In the silent models all work, and the quit request, happens before this returns. A refused
    // folder is logged, nothing is started and the quit request follows at once.
    int uninstall(const wchar_t* commandLine = nullptr);

    // IUninstallControl
    void startCheck() override;

    // IUninstallControlSink
    void onClientRunning() override;
    void onCheckPassed() override;
    void onCleanProgress(const std::wstring& name, int done, int total) override;
    void onCleanFinish() override;

    ZorviUninstallCore& core() { return *m_core; }

    // Run model of a command line: 1 for "-silence"; 2 or 3 for "-delete" or "-silencedelete" with
    // a "-path" value that exists (path receives it); otherwise 0.
    static int runModel(const wchar_t* commandLine, std::wstring* path);

private:
    // Install folder := the program's own folder. False (logged) when that folder is protected.
    bool _initPath();
    // Install folder := the -path value made absolute. False (logged) when it is protected.
    bool _setDeletePath(const std::wstring& path);

    std::unique_ptr<ZorviUninstallCore> m_core;
    std::unique_ptr<ZorviUninstallUI> m_ui;
};
