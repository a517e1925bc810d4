#pragma once
// Finding and stopping the client of one install folder before its files are replaced.
//
// The client is "Zorvi.exe" started from <install path>Zorvi.exe (both compared exactly); it is asked
// to quit with WM_APP + 601 on its main window and terminated right after if it is still there.
// Programs whose executable lies directly in the version folder <install path>8.7.0.1\ are
// terminated outright. Failures are logged and skipped; nothing is reported to the caller.

#include <windows.h>

#include <string>

class ZorviClientShutdown {
public:
    static constexpr const wchar_t* kClientWindowClass = L"TENVALE SPEAK MAIN FRAME | 4D1BB563-E5FC-4771-AD17-6442A4147044";
    static constexpr UINT kQuitMessage = WM_APP + 601;
    static constexpr const wchar_t* kVersionFolder = L"8.7.0.1";

    // installPath ends in a backslash.
    explicit ZorviClientShutdown(const std::wstring& installPath) : m_installPath(installPath) {}

    // Whether a client of this install folder runs; its process identifier through pid.
    bool _isZorviRunning(DWORD* pid) const;
    // Quit request, then termination of one client process.
    void _quitZorvi(DWORD pid) const;
    // Closes clients of this install folder until none is found.
    void closeRunningClients() const;
    // Terminates every process whose program lies directly in the version folder.
    void terminateVersionFolderProcesses() const;

private:
    std::wstring m_installPath;
};
