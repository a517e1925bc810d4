#include "ZorviFileCleaner.h"

#include <atomic>
#include <cwchar>

#include "Paths.h"
#include "ProcessList.h"
#include "RunExeFile.h"
#include "SetupLog.h"
#include "Text.h"
#include "UniqueResource.h"

namespace {
// Steps reported in this process; never reset.
std::atomic<int> g_progressCounter{0};
} // namespace

ZorviFileCleaner::~ZorviFileCleaner()
{
    CWorkerThread::stop();
}

void ZorviFileCleaner::setPath(const std::wstring& path)
{
    logPrint(L"ZorviFileCleaner::setPath, path is %ls.", path.c_str());
    if (path.empty()) {
        logPrint(L"ZorviFileCleaner::setPath, path is empty.");
        return;
    }
    m_path = path;
}

void ZorviFileCleaner::execute()
{
    logPrint(L"ZorviFileCleaner::execute begin.");
    _setCurrentDirectory();
    _reportProgress(m_path + L"UnInstall.exe");
    _startInstallstat();
    _startZorviRun();
    _killProcesses();

    logPrint(L"Begin delete files, directory is %ls", m_path.c_str());
    if (m_path.empty()) {
        logPrint(L"Exception case.");
        return;
    }
    _deleteDirectory(m_path);
    logPrint(L"End delete files.");
    if (!RemoveDirectoryW(m_path.c_str()))
        logPrint(L"RemoveDirectory %ls fail, last error is %d", m_path.c_str(), static_cast<int>(GetLastError()));
    if (IUninstallControlSink* sink = m_sink)
        sink->onCleanFinish();
}

void ZorviFileCleaner::_setCurrentDirectory()
{
    wchar_t module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    if (wchar_t* slash = wcsrchr(module, L'\\')) {
        *slash = L'\0';
        SetCurrentDirectoryW(module);
    }
}

void ZorviFileCleaner::_reportProgress(const std::wstring& name)
{
    if (IUninstallControlSink* sink = m_sink)
        sink->onCleanProgress(name, ++g_progressCounter, kProgressTotal);
}

int ZorviFileCleaner::_readProductNumber()
{
    const std::wstring file = getSetupCacheFolder(m_path) + L"ProductInfo.txt";
    UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return 1;
    char bom[3];
    DWORD read = 0;
    if (!ReadFile(handle.get(), bom, sizeof bom, &read, nullptr) || read != sizeof bom)
        return 1;
    // The first line, line feed included, at most 1023 bytes.
    std::string line;
    char byte = 0;
    while (line.size() < 1023 && ReadFile(handle.get(), &byte, 1, &read, nullptr) && read == 1) {
        line += byte;
        if (byte == '\n')
            break;
    }
    const std::wstring text = multiByteToWide(line.data(), static_cast<int>(line.size()), CP_UTF8);
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos)
        return 1;
    const long value = wcstol(text.c_str() + equals + 1, nullptr, 10);
    return value != 0 ? static_cast<int>(value) : 1;
}

void ZorviFileCleaner::_startInstallstat()
{
    const int number = _readProductNumber();
    const std::wstring parameters =
        std::wstring(L"\"|") + kClientVersion + L"|" + std::to_wstring(number) + L"|u|\"";
    const std::wstring program = m_path + kClientVersion + L"\\installstat.exe";
    _reportProgress(program);
    runExeFile(program, parameters, true);
    logPrint(L"ZorviFileCleaner::_startInstallstat, path is %ls, parameter is %ls", program.c_str(),
             parameters.c_str());
}

void ZorviFileCleaner::_startZorviRun()
{
    const std::wstring program = m_path + kClientVersion + L"\\zorvirun.exe";
    _reportProgress(program);
    runExeFile(program, L"-unreg", true);
    logPrint(L"ZorviFileCleaner::_startZorviRun, path is %ls, parameter is %ls", program.c_str(), L"-unreg");
}

void ZorviFileCleaner::_killProcesses()
{
    const DWORD self = GetCurrentProcessId();
    forEachProcess([&](const PROCESSENTRY32W& process) {
        // This program may itself have been started from the install folder with -path naming it.
        if (process.th32ProcessID == self)
            return true;
        std::wstring folder = processImagePath(process.th32ProcessID);
        const size_t slash = folder.find_last_of(L'\\');
        if (slash != std::wstring::npos)
            folder.erase(slash + 1);
        if (!equalsIgnoreAsciiCase(folder, m_path))
            return true;
        UniqueHandle handle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process.th32ProcessID));
        if (handle && WaitForSingleObject(handle.get(), 500) == WAIT_TIMEOUT)
            TerminateProcess(handle.get(), 0);
        return true;
    });
}

void ZorviFileCleaner::_deleteDirectory(const std::wstring& folder)
{
    if (folder.empty()) {
        logPrint(L"ZorviFileCleaner::_deleteDirectory, directory is empty.");
        return;
    }
    forEachFolderEntry(folder, [this](const std::wstring& child, const WIN32_FIND_DATAW& data) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A directory link (junction or symbolic link) is removed as a link: what it points to
            // may lie outside the install folder and is never entered.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryW(child.c_str()))
                    logPrint(L"remove directory link %ls fail, last error is %d", child.c_str(),
                             static_cast<int>(GetLastError()));
                return;
            }
            _deleteDirectory(child);
            RemoveDirectoryW(child.c_str());
            return;
        }
        if (DeleteFileW(child.c_str()))
            logPrint(L"delete file %ls success", child.c_str());
        else
            logPrint(L"delete file %ls fail, last error is %d", child.c_str(), static_cast<int>(GetLastError()));
        _reportProgress(child);
    });
}
