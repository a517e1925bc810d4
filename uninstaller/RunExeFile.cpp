#include "RunExeFile.h"

#include <windows.h>

#include <vector>

#include "SetupLog.h"
#include "UniqueResource.h"

void runExeFile(const std::wstring& program, const std::wstring& parameters, bool wait)
{
    constexpr size_t kCapacity = 4096;
    if (parameters.size() >= kCapacity) {
        logPrint(L"runExeFile, parameter text is too long (%d characters).", static_cast<int>(parameters.size()));
        return;
    }
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::vector<wchar_t> commandLine(kCapacity, L'\0');
    parameters.copy(commandLine.data(), parameters.size());

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        logPrint(L"runExeFile, CreateProcess return false, last error is %d.", static_cast<int>(GetLastError()));
        return;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (wait && WaitForSingleObject(process.get(), 10000) == WAIT_TIMEOUT)
        logPrint(L"runExeFile, WaitForSingleObject timeout.");
}
