#include "SetupLog.h"

#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace {

std::wstring defaultLogFolder()
{
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    return std::wstring(appData) + L"\\tenvale\\zorvi\\setup\\";
}

void createFolder(const std::wstring& folder)
{
    if (!folder.empty())
        SHCreateDirectory(nullptr, folder.c_str());
}

// The file counts as existing when a search finds it, it is no directory and its last-write time
// gives a valid MS-DOS date or time.
bool logFileExists(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
    if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    FILETIME local;
    WORD dosDate = 0xFFFF;
    WORD dosTime = 0xFFFF;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local))
        FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    return dosDate != 0xFFFF || dosTime != 0xFFFF;
}

} // namespace

CSetupLog::CSetupLog() : CSetupLog(defaultLogFolder()) {}

CSetupLog::CSetupLog(const std::wstring& folder) : m_folder(folder)
{
    createFolder(m_folder);
    m_logPath = m_folder + L"setupV2.log";
}

void CSetupLog::setFileName(const wchar_t* name)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_logPath = m_folder + (name ? name : L"");
}

std::wstring CSetupLog::formatLine(const SYSTEMTIME& t, const wchar_t* message)
{
    wchar_t line[kLineCapacity];
    int used = _snwprintf(line, kLineCapacity - 1, L"[%4d-%.2d-%.2d %.2d:%.2d:%.2d] ", t.wYear,
                          t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    if (used < 0)
        used = 0;
    std::wstring result(line, static_cast<size_t>(used));
    const size_t room = static_cast<size_t>(kLineCapacity - 1) - result.size() - 2;
    const std::wstring text = message ? message : L"";
    result.append(text, 0, room);
    result += L"\r\n";
    return result;
}

bool CSetupLog::ensureOpen()
{
    if (m_opened && m_currentPath == m_logPath)
        return true;
    m_file.reset();
    m_opened = false;
    m_currentPath = m_logPath;

    const bool exists = logFileExists(m_currentPath);
    if (!exists)
        createFolder(m_folder);  // the folder may have been unavailable when the log was made
    m_file.reset(CreateFileW(m_currentPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, exists ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    m_opened = m_file.valid();
    if (!m_opened)
        return false;

    LARGE_INTEGER size = {};
    GetFileSizeEx(m_file.get(), &size);
    if (size.QuadPart > 0 && static_cast<unsigned long long>(size.QuadPart) <= kMaxAppendSize) {
        LARGE_INTEGER zero = {};
        SetFilePointerEx(m_file.get(), zero, nullptr, FILE_END);
    } else {
        LARGE_INTEGER zero = {};
        SetFilePointerEx(m_file.get(), zero, nullptr, FILE_BEGIN);
        SetEndOfFile(m_file.get());
        static const unsigned char bom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        WriteFile(m_file.get(), bom, sizeof bom, &written, nullptr);
    }
    return true;
}

void CSetupLog::write(const wchar_t* message)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring line = formatLine(now, message);

    std::lock_guard<std::mutex> guard(m_lock);
    if (!ensureOpen())
        return;
    DWORD written = 0;
    WriteFile(m_file.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
              nullptr);
}

CSetupLog& setupLog()
{
    static CSetupLog log;
    return log;
}

void logSetFileName(const wchar_t* name)
{
    setupLog().setFileName(name);
}

void logPrint(const wchar_t* format, ...)
{
    wchar_t message[CSetupLog::kLineCapacity];
    va_list args;
    va_start(args, format);
    int used = _vsnwprintf(message, CSetupLog::kLineCapacity - 1, format, args);
    va_end(args);
    message[CSetupLog::kLineCapacity - 1] = L'\0';
    if (used < 0)
        used = static_cast<int>(wcslen(message));
    message[used] = L'\0';
    setupLog().write(message);
}
