#include "ProcessList.h"

#include "UniqueResource.h"

void forEachProcess(const std::function<bool(const PROCESSENTRY32W& process)>& visit)
{
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (!visit(entry))
            return;
    }
}

std::wstring processImagePath(DWORD processId)
{
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId));
    if (!snapshot)
        return {};
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    if (!Module32FirstW(snapshot.get(), &module))
        return {};
    return module.szExePath;
}
