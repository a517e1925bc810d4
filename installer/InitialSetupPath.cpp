#include "InitialSetupPath.h"

#include <shlobj.h>

#include "SetupLog.h"
#include "UniqueResource.h"

namespace {

// "RootPath" as text; false when it is missing, too long or not a string.
bool readRootPath(HKEY root, std::wstring* value)
{
    UniqueRegKey key;
    if (RegOpenKeyExW(root, L"Software\\tenvale\\zorvi", 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[1024] = {};
    DWORD type = 0;
    DWORD size = 2046;
    if (RegQueryValueExW(key.get(), L"RootPath", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        logPrint(L"initialSetupPath, RootPath is not a string (type %d), ignored.", static_cast<int>(type));
        return false;
    }
    // The stored data need not end with a terminator: bound the text by the size read.
    value->assign(buffer, wcsnlen(buffer, size / sizeof(wchar_t)));
    return true;
}

} // namespace

std::wstring initialSetupPath(HKEY root)
{
    std::wstring path;
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAM_FILES, &pidl)) || !pidl) {
        path = L"C:\\Program Files\\tenvale\\zorvi";
    } else {
        wchar_t programFiles[MAX_PATH] = {};
        const bool converted = SHGetPathFromIDListW(pidl, programFiles);
        CoTaskMemFree(pidl);
        if (converted) {
            std::wstring value;
            if (readRootPath(root, &value) && value.size() > 3)
                path = value;
            else
                path = std::wstring(programFiles) + L"\\tenvale\\zorvi";
        }
    }
    logPrint(L"Initialized setup path is %ls", path.c_str());
    return path;
}
