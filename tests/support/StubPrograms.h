#pragma once
// The sample client's stand-in programs (built into <bin>\sample\) and the record file they append
// to: for tests that need a client, its helpers or a program running from an install folder.

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// <bin>\sample\, ending in a backslash.
std::wstring stubFolder();
// Copies the stub of that file name ("Zorvi.exe", "zorvirun.exe"...) to destination, creating its
// folder. For any other destination name the copy behaves like a helper (records, sleeps, ends).
bool copyStub(const std::wstring& stubName, const std::wstring& destination);

struct StubLine {
    std::wstring kind;  // "start", "quit-request", "end"
    std::wstring program;
    DWORD processId = 0;
    std::wstring commandLine;    // start lines only
    std::wstring workingFolder;  // start lines only
};

// Points ZORVI_STUB_RECORD (inherited by programs started from now on) at file for its lifetime;
// the variable's earlier state comes back on destruction. Sets ZORVI_STUB_SLEEP_MS the same way
// when sleepMs is not 0.
class StubRecord {
public:
    explicit StubRecord(std::wstring file, DWORD sleepMs = 0);
    ~StubRecord();
    StubRecord(const StubRecord&) = delete;
    StubRecord& operator=(const StubRecord&) = delete;

    std::vector<StubLine> lines() const;
    // The first line of that kind for that program (file name, any case), waiting at most timeoutMs.
    bool waitFor(const wchar_t* kind, const wchar_t* program, DWORD timeoutMs, StubLine* line = nullptr) const;

private:
    std::wstring m_file;
    std::wstring m_savedRecord, m_savedSleep;
    bool m_hadRecord = false, m_hadSleep = false;
};

} // namespace test
