#include "ProtectedFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "UniqueResource.h"

namespace {

constexpr DWORD kLongPath = 32768;

std::wstring withoutLongPrefix(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\\\" + path.substr(8);
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0)
        return path.substr(4);
    return path;
}

std::wstring upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The target of a directory link, or the folder itself; empty when it cannot be opened.
std::wstring finalPath(const std::wstring& path)
{
    UniqueFileHandle folder(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder)
        return {};
    std::vector<wchar_t> buffer(kLongPath);
    const DWORD length =
        GetFinalPathNameByHandleW(folder.get(), buffer.data(), kLongPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= kLongPath)
        return {};
    return canonicalFolderPath(std::wstring(buffer.data(), length));
}

std::vector<std::wstring> wellKnownFolders()
{
    static const int csidls[] = {
        CSIDL_WINDOWS,          CSIDL_SYSTEM,           CSIDL_SYSTEMX86,         CSIDL_PROGRAM_FILES,
        CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE,       CSIDL_DESKTOPDIRECTORY,
        CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL,  CSIDL_COMMON_DOCUMENTS,  CSIDL_APPDATA,
        CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_APPDATA,   CSIDL_STARTMENU,         CSIDL_COMMON_STARTMENU,
        CSIDL_PROGRAMS,         CSIDL_COMMON_PROGRAMS,
    };
    std::vector<std::wstring> folders;
    for (int csidl : csidls) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) && path[0])
            folders.push_back(path);
    }
    wchar_t appData[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE) && appData[0])
        folders.push_back(std::wstring(appData) + L"\\tenvale\\zorvi");
    // The native Program Files folder, which a 32-bit program on a 64-bit system is not told about.
    wchar_t native[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ProgramW6432", native, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        folders.push_back(native);

    std::vector<std::wstring> result;
    for (const std::wstring& folder : folders) {
        const std::wstring canonical = upper(canonicalFolderPath(folder));
        if (!canonical.empty())
            result.push_back(canonical);
        const std::wstring target = upper(finalPath(folder));
        if (!target.empty() && target != canonical)
            result.push_back(target);
    }
    return result;
}

bool isRoot(const std::wstring& canonical)
{
    if (canonical.size() <= 3)  // "C:\", "C:", "\"
        return true;
    if (canonical.compare(0, 2, L"\\\\") == 0) {  // "\\server\share"
        const size_t server = canonical.find(L'\\', 2);
        return server == std::wstring::npos || canonical.find(L'\\', server + 1) == std::wstring::npos;
    }
    return false;
}

bool protects(const std::wstring& canonical, const std::vector<std::wstring>& known)
{
    if (canonical.empty() || isRoot(canonical))
        return true;
    const std::wstring path = upper(canonical);
    for (const std::wstring& folder : known) {
        if (folder == path)
            return true;
        if (folder.size() > path.size() && folder.compare(0, path.size(), path) == 0 && folder[path.size()] == L'\\')
            return true;
    }
    return false;
}

} // namespace

std::wstring canonicalFolderPath(const std::wstring& path)
{
    if (path.empty())
        return {};
    std::wstring input = path;
    for (wchar_t& c : input)
        if (c == L'/')
            c = L'\\';
    input = withoutLongPrefix(input);
    std::vector<wchar_t> buffer(kLongPath);
    DWORD length = GetFullPathNameW(input.c_str(), kLongPath, buffer.data(), nullptr);
    if (length == 0 || length >= kLongPath)
        return {};
    std::wstring result(buffer.data(), length);
    length = GetLongPathNameW(result.c_str(), buffer.data(), kLongPath);
    if (length > 0 && length < kLongPath)
        result.assign(buffer.data(), length);
    result = withoutLongPrefix(result);
    while (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

bool isProtectedFolder(const std::wstring& path)
{
    const std::wstring canonical = canonicalFolderPath(path);
    const std::vector<std::wstring> known = wellKnownFolders();
    if (protects(canonical, known))
        return true;
    const std::wstring target = finalPath(canonical);
    return !target.empty() && target != canonical && protects(target, known);
}
