#include "StubPrograms.h"

#include <shlobj.h>

#include "TestSupport.h"
#include "Text.h"

namespace test {

std::wstring stubFolder()
{
    return binFolder() + L"sample\\";
}

bool copyStub(const std::wstring& stubName, const std::wstring& destination)
{
    const std::wstring folder = destination.substr(0, destination.find_last_of(L'\\'));
    SHCreateDirectory(nullptr, folder.c_str());
    return CopyFileW((stubFolder() + stubName).c_str(), destination.c_str(), FALSE) != 0;
}

namespace {
bool saveVariable(const wchar_t* name, std::wstring* value)
{
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    if (length == 0 || length >= 32768)
        return false;
    value->assign(buffer, length);
    return true;
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::wstring::npos; end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}
} // namespace

StubRecord::StubRecord(std::wstring file, DWORD sleepMs) : m_file(std::move(file))
{
    m_hadRecord = saveVariable(L"ZORVI_STUB_RECORD", &m_savedRecord);
    m_hadSleep = saveVariable(L"ZORVI_STUB_SLEEP_MS", &m_savedSleep);
    SetEnvironmentVariableW(L"ZORVI_STUB_RECORD", m_file.c_str());
    if (sleepMs != 0)
        SetEnvironmentVariableW(L"ZORVI_STUB_SLEEP_MS", std::to_wstring(sleepMs).c_str());
}

StubRecord::~StubRecord()
{
    SetEnvironmentVariableW(L"ZORVI_STUB_RECORD", m_hadRecord ? m_savedRecord.c_str() : nullptr);
    SetEnvironmentVariableW(L"ZORVI_STUB_SLEEP_MS", m_hadSleep ? m_savedSleep.c_str() : nullptr);
}

std::vector<StubLine> StubRecord::lines() const
{
    const std::string bytes = readFile(m_file);
    std::vector<StubLine> lines;
    for (const std::wstring& text : split(multiByteToWide(bytes.data(), static_cast<int>(bytes.size()), CP_UTF8), L'\n')) {
        std::wstring line = text;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::vector<std::wstring> fields = split(line, L'\t');
        if (fields.size() < 3)
            continue;
        StubLine entry;
        entry.kind = fields[0];
        entry.program = fields[1];
        entry.processId = wcstoul(fields[2].c_str(), nullptr, 10);
        if (fields.size() >= 5) {
            entry.commandLine = fields[3];
            entry.workingFolder = fields[4];
        }
        lines.push_back(entry);
    }
    return lines;
}

bool StubRecord::waitFor(const wchar_t* kind, const wchar_t* program, DWORD timeoutMs, StubLine* line) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (const StubLine& entry : lines()) {
            if (entry.kind == kind && _wcsicmp(entry.program.c_str(), program) == 0) {
                if (line)
                    *line = entry;
                return true;
            }
        }
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

} // namespace test
