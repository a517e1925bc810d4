#include "ClientShutdown.h"

#include <tlhelp32.h>

#include "Paths.h"
#include "SetupLog.h"
#include "UniqueResource.h"

namespace {

constexpr DWORD kProcessAccess = SYNCHRONIZE | PROCESS_TERMINATE;

// Full path of the process's first module (its program); empty when it cannot be read.
std::wstring programPath(DWORD pid)
{
    UniqueFileHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid));
    if (!modules)
        return {};
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    if (!Module32FirstW(modules.get(), &module))
        return {};
    return module.szExePath;
}

template <typename Visit>
void forEachProcess(Visit visit)
{
    UniqueFileHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(processes.get(), &entry); more; more = Process32NextW(processes.get(), &entry)) {
        if (!visit(entry))
            return;
    }
}

} // namespace

bool ZorviClientShutdown::_isZorviRunning(DWORD* pid) const
{
    const std::wstring client = m_installPath + L"Zorvi.exe";
    bool found = false;
    forEachProcess([&](const PROCESSENTRY32W& entry) {
        if (wcscmp(entry.szExeFile, L"Zorvi.exe") != 0 || programPath(entry.th32ProcessID) != client)
            return true;
        if (pid)
            *pid = entry.th32ProcessID;
        found = true;
        return false;
    });
    return found;
}

void ZorviClientShutdown::_quitZorvi(DWORD pid) const
{
    if (HWND window = findProcessWindow(pid, kClientWindowClass)) {
        PostMessageW(window, kQuitMessage, 0, 0);
        logPrint(L"ZorviSetupDecompressor::_quitZorvi, post message (WM_APP + 601) to Zorvi for quit.");
    }
    UniqueHandle process(OpenProcess(kProcessAccess, FALSE, pid));
    if (!process) {
        logPrint(L"ZorviSetupDecompressor::_quitZorvi, OpenProcess return NULL, Zorvi already quit.");
        return;
    }
    if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        logPrint(L"ZorviSetupDecompressor::_quitZorvi, WaitForSingleObject time-out, will terminate process.");
        TerminateProcess(process.get(), 0);
        // Let the process leave the snapshot before the caller looks again.
        WaitForSingleObject(process.get(), 5000);
    }
}

void ZorviClientShutdown::closeRunningClients() const
{
    // A client that cannot be terminated (access denied) would be found forever: give up after a
    // bounded number of rounds instead of hanging the installation.
    constexpr int kMaxRounds = 64;
    DWORD pid = 0;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (!_isZorviRunning(&pid))
            return;
        _quitZorvi(pid);
    }
    logPrint(L"ZorviSetupDecompressor::closeRunningClients, a client still runs after %d rounds.", kMaxRounds);
}

void ZorviClientShutdown::terminateVersionFolderProcesses() const
{
    if (m_installPath.empty())
        return;
    const std::wstring versionFolder = m_installPath + kVersionFolder + L"\\";
    const DWORD self = GetCurrentProcessId();
    forEachProcess([&](const PROCESSENTRY32W& entry) {
        if (entry.th32ProcessID == self || entry.th32ProcessID == 0)
            return true;
        const std::wstring program = programPath(entry.th32ProcessID);
        const size_t slash = program.find_last_of(L'\\');
        if (slash == std::wstring::npos)
            return true;
        const std::wstring folder = program.substr(0, slash + 1);
        if (CompareStringOrdinal(folder.c_str(), -1, versionFolder.c_str(), -1, TRUE) != CSTR_EQUAL)
            return true;
        UniqueHandle process(OpenProcess(kProcessAccess, FALSE, entry.th32ProcessID));
        if (!process)
            return true;
        if (TerminateProcess(process.get(), 0)) {
            WaitForSingleObject(process.get(), 5000);
            logPrint(L"Terminate %ls success.\n", program.c_str());
        } else {
            logPrint(L"Terminate %ls fail.\n", program.c_str());
        }
        return true;
    });
}
