#include "SystemLibrary.h"

#include <string>

#include "DllSecur.h"

void restrictDllSearchToSystemFolder()
{
    My_SetDefaultDllDirectories();
    LoadSecurityDlls();
}

UniqueLibrary loadSystemLibrary(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        // Systems without the LOAD_LIBRARY_SEARCH_* flags: name the file by its full path.
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            module = LoadLibraryExW((std::wstring(system) + L"\\" + name).c_str(), nullptr,
                                    LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return UniqueLibrary(module);
}
