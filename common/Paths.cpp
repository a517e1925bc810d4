#include "Paths.h"

#include <shlobj.h>

#include <cstdio>

#include "Md5.h"
#include "Text.h"
#include "UniqueResource.h"

std::wstring getDataFolder()
{
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    std::wstring folder = std::wstring(appData) + L"\\tenvale\\zorvi\\";
    SHCreateDirectory(nullptr, folder.c_str());
    return folder;
}

std::wstring getSetupCacheFolder(const std::wstring& installPath)
{
    std::wstring folder = getDataFolder() + L"setup\\" + pathDigest(installPath) + L"\\";
    SHCreateDirectory(nullptr, folder.c_str());
    return folder;
}

std::wstring getUpdateCacheFolder(const std::wstring& installPath)
{
    return getDataFolder() + L"update\\" + pathDigest(installPath) + L"\\";
}

std::wstring withBackslash(std::wstring path)
{
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring normalizePath(const std::wstring& path)
{
    std::wstring result;
    result.reserve(path.size());
    for (wchar_t c : path) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        else if (c == L'/')
            c = L'\\';
        if (c == L'\\' && !result.empty() && result.back() == L'\\')
            continue;
        result += c;
    }
    const size_t first = result.find_first_not_of(L'\\');
    if (first == std::wstring::npos)
        return {};
    const size_t last = result.find_last_not_of(L'\\');
    return result.substr(first, last - first + 1);
}

std::wstring pathDigest(const std::wstring& path)
{
    const std::wstring normalized = normalizePath(path);
    if (normalized.empty())
        return {};
    const std::string bytes = wideToMultiByte(normalized.c_str(), static_cast<int>(normalized.size()), CP_ACP);
    CMd5 md5;
    Md5_Init(&md5);
    Md5_Update(&md5, reinterpret_cast<const Byte*>(bytes.data()), bytes.size());
    Byte digest[MD5_DIGEST_SIZE];
    Md5_Final(&md5, digest);
    char hex[2 * MD5_DIGEST_SIZE + 1] = {};
    for (int i = 0; i < MD5_DIGEST_SIZE; ++i)
        snprintf(hex + 2 * i, 3, "%02x", digest[i]);
    return multiByteToWide(hex, -1, CP_ACP);
}

bool isValidSetupPath(const std::wstring& path)
{
    const std::wstring n = trimBlanks(normalizePath(path));
    const std::wstring root = n.substr(0, 3);
    ULARGE_INTEGER available, total, free;
    if (root.empty() || GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free) != 1)
        return false;
    if (n.size() <= 3)
        return true;
    const std::wstring rest = trimBlanks(n.substr(3));
    if (hasInvalidPathChars(rest))
        return false;
    size_t start = 0;
    for (size_t slash = rest.find(L'\\'); slash != std::wstring::npos; slash = rest.find(L'\\', start)) {
        if (trimBlanks(rest.substr(start, slash - start)).empty())
            return false;
        start = slash + 1;
    }
    return true;
}

double getFreeSpaceMB(const std::wstring& path)
{
    const std::wstring root = path.substr(0, 3);
    ULARGE_INTEGER available, total, free;
    if (root.empty() || !GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
        return 0.0;
    return static_cast<double>(available.QuadPart) / 1048576.0;
}

void forEachFolderEntry(const std::wstring& folder,
                        const std::function<void(const std::wstring& path, const WIN32_FIND_DATAW& entry)>& visit)
{
    if (folder.empty())
        return;
    const std::wstring base = withBackslash(folder);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((base + L"*.*").c_str(), &data));
    if (!find)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            visit(base + name, data);
    } while (FindNextFileW(find.get(), &data));
}

void deleteFolderContents(const std::wstring& folder)
{
    forEachFolderEntry(folder, [](const std::wstring& child, const WIN32_FIND_DATAW& data) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                deleteFolderContents(child);
            RemoveDirectoryW(child.c_str());
        } else {
            DeleteFileW(child.c_str());
        }
    });
}

namespace {
struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    wchar_t name[261] = {};
    GetClassNameW(window, name, 261);
    if (wcscmp(name, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}
} // namespace

HWND findProcessWindow(DWORD processId, const wchar_t* className)
{
    WindowSearch search{processId, className ? className : L"", nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
