#pragma once
// The setup log: one UTF-16 LE text file per program in the user's application-data folder
// ("<AppData>\tenvale\zorvi\setup\"), appended to across runs and restarted with a fresh
// byte-order mark once it has grown past 1 MiB. Every entry is one line
// "[yyyy-mm-dd hh:mm:ss] message\r\n" written with a single WriteFile call.
//
// The log never reports failures: when the folder or the file cannot be made, an entry is
// dropped and the next entry tries again.

#include <mutex>
#include <string>

#include "UniqueResource.h"

class CSetupLog {
public:
    static constexpr unsigned long long kMaxAppendSize = 1048576;  // larger files restart
    static constexpr int kLineCapacity = 2048;                     // wide characters, terminator included

    CSetupLog();                                    // "<AppData>\tenvale\zorvi\setup\setupV2.log"
    explicit CSetupLog(const std::wstring& folder); // any folder ending in a backslash

    // Log file = log folder + name. Takes effect with the next entry.
    void setFileName(const wchar_t* name);
    void write(const wchar_t* message);

    const std::wstring& folder() const { return m_folder; }
    const std::wstring& filePath() const { return m_logPath; }

    // "[yyyy-mm-dd hh:mm:ss] message\r\n", cut to kLineCapacity - 1 characters with the line end kept.
    static std::wstring formatLine(const SYSTEMTIME& time, const wchar_t* message);

private:
    bool ensureOpen();

    std::mutex m_lock;
    UniqueFileHandle m_file;
    std::wstring m_currentPath;  // path of the open file
    bool m_opened = false;
    std::wstring m_logPath;
    std::wstring m_folder;
};

// The process-wide log.
CSetupLog& setupLog();
void logSetFileName(const wchar_t* name);
// printf-style entry: %ls takes a wide string, %d an int. Messages longer than 2047 characters are cut.
void logPrint(const wchar_t* format, ...);
