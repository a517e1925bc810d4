#include "ProcessList.h"

#include <tlhelp32.h>

#include "UniqueResource.h"

void forEachProcess(const std::function<bool(DWORD processId, const wchar_t* exeName)>& visit)
{
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (!visit(entry.th32ProcessID, entry.szExeFile))
            return;
    }
}

std::wstring processImagePath(DWORD processId)
{
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot)
        return {};
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    if (!Module32FirstW(snapshot.get(), &module))
        return {};
    return module.szExePath;
}

bool equalsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}
