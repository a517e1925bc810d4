#include "DiskOutputer.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>

#include "Paths.h"
#include "SetupInterfaces.h"
#include "SetupLog.h"

extern "C" {
#include "7zFile.h"
}

namespace {

constexpr int kMaxTries = 5;

std::wstring withBackslash(std::wstring path)
{
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring tempFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TEMP", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return withBackslash(buffer);
    // Without %TEMP% the items would land at the root of the current drive.
    GetTempPathW(MAX_PATH, buffer);
    return withBackslash(buffer);
}

bool isDeviceName(const std::wstring& component)
{
    std::wstring base = component.substr(0, component.find(L'.'));
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(towupper(c));
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL")
        return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

} // namespace

CDiskOutputer::CDiskOutputer(const std::wstring& installPath, ISetupControlSink* sink, IStopQuery* stopQuery)
    : m_sink(sink), m_stopQuery(stopQuery)
{
    m_rootPath = installPath;
    for (wchar_t& c : m_rootPath)
        if (c == L'/')
            c = L'\\';
    m_rootPath = withBackslash(m_rootPath);
    m_appDataRoot = getSetupCacheFolder(installPath);
    m_tempRoot = tempFolder();
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    m_hzhRoot = std::wstring(appData) + L"\\tenvale\\zorvi\\business\\zorvipip\\";
}

bool CDiskOutputer::isSafeItemName(const std::wstring& name)
{
    if (name.empty() || name[0] == L'/' || name[0] == L'\\')
        return false;
    for (wchar_t c : name)
        if (c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return false;
    size_t start = 0;
    while (true) {
        const size_t end = name.find_first_of(L"/\\", start);
        const std::wstring component = name.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (component.empty() || component == L"." || component == L".." || component.back() == L'.' ||
            component.back() == L' ' || isDeviceName(component))
            return false;
        if (end == std::wstring::npos)
            return true;
        start = end + 1;
    }
}

bool CDiskOutputer::mapItemPath(const std::wstring& itemName, std::wstring* target) const
{
    std::wstring name = itemName;
    for (wchar_t& c : name)
        if (c == L'/')
            c = L'\\';
    if (name == L"InstallDir" || name == L"AppData" || name == L"TEMP" || name == L"HZH")
        return false;
    const size_t slash = name.find(L'\\');
    if (slash == std::wstring::npos) {
        *target = m_rootPath + name;
        return true;
    }
    const std::wstring first = name.substr(0, slash);
    const std::wstring rest = name.substr(slash + 1);
    if (first == L"AppData")
        *target = m_appDataRoot + rest;
    else if (first == L"TEMP")
        *target = m_tempRoot + rest;
    else if (first == L"HZH")
        *target = m_hzhRoot + rest;
    else
        *target = m_rootPath + rest;  // "InstallDir" and any other first component
    return true;
}

bool CDiskOutputer::checkName(const std::wstring& name)
{
    std::wstring target;
    if (!isSafeItemName(name)) {
        logPrint(L"CDiskOutputer::checkName, item %ls has an unsafe name, the archive is rejected.", name.c_str());
        return false;
    }
    if (mapItemPath(name, &target) && target.size() >= MAX_PATH) {
        logPrint(L"CDiskOutputer::checkName, item %ls is too long for its target %ls, the archive is rejected.",
                 name.c_str(), target.c_str());
        return false;
    }
    return true;
}

void CDiskOutputer::onProgress(int index, int total)
{
    if (m_sink)
        m_sink->onDecompressProgress(index, total);
}

bool CDiskOutputer::output(const std::wstring& name, bool isDir, const unsigned char* data, size_t size)
{
    logPrint(L"CDiskOutputer::output, file is %ls", name.c_str());
    std::wstring target;
    if (!mapItemPath(name, &target))
        return true;
    const std::wstring parent = target.substr(0, target.find_last_of(L'\\'));
    if (!parent.empty() && GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const int result = SHCreateDirectory(nullptr, parent.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS)
            logPrint(L"SHCreateDirectory fail, path is %ls, last error is %d", parent.c_str(), static_cast<int>(GetLastError()));
    }
    return _tryToDecompressItem(isDir, data, size, target);
}

void CDiskOutputer::renameToOld(const std::wstring& path)
{
    const std::wstring old = path + L".old";
    DeleteFileW(old.c_str());
    // Both names doubly terminated, as the shell expects.
    std::wstring from = path;
    from.push_back(L'\0');
    std::wstring to = old;
    to.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_RENAME;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    if (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted)
        MoveFileW(path.c_str(), old.c_str());
}

bool CDiskOutputer::_tryToDecompressItem(bool isDir, const unsigned char* data, size_t size, const std::wstring& path)
{
    if (isDir) {
        SHCreateDirectory(nullptr, path.c_str());
        return true;
    }
    CSzFile file;
    File_Construct(&file);
    int tries = 0;
    while (OutFile_OpenW(&file, path.c_str()) != 0) {
        if (++tries >= kMaxTries) {
            logPrint(L"CDiskOutputer::_tryToDecompressItem, strFilePath=%ls, nTryCount=%d, bResult=%d", path.c_str(),
                     kMaxTries, 0);
            return false;
        }
        renameToOld(path);
    }

    // A failed or short write starts again from the beginning of the file, which is cut there, so
    // that no partial copy stands in front of the data.
    int retries = 0;
    bool written = false;
    while (true) {
        size_t done = size;
        if (File_Write(&file, data, &done) == 0 && done == size) {
            written = true;
            break;
        }
        if (retries >= kMaxTries)
            break;
        ++retries;
        Int64 start = 0;
        File_Seek(&file, &start, SZ_SEEK_SET);
        SetEndOfFile(file.handle);
    }
    File_Close(&file);
    logPrint(L"CDiskOutputer::_tryToDecompressItem, strFilePath=%ls, nTryCount=%d, bResult=%d", path.c_str(), retries,
             written ? 1 : 0);
    return written;
}
