#pragma once
// Helpers for tests that run under Wine: fresh folders, private registry keys, files as bytes and
// running the built programs.

#include <windows.h>

#include <string>
#include <vector>

#include "UniqueResource.h"

namespace test {

// Folder of the running test program (the build's bin folder), ending in a backslash.
std::wstring binFolder();
// A new, empty folder below %TEMP%, ending in a backslash; removed with its contents on destruction.
class TempFolder {
public:
    explicit TempFolder(const wchar_t* tag = L"t");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

// A private key below HKCU\Software\ZorviTests, deleted with its subkeys on destruction.
class TestRegistryKey {
public:
    TestRegistryKey();
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;
    HKEY get() const { return m_key.get(); }

private:
    std::wstring m_subKey;
    UniqueRegKey m_key;
};

void removeTree(const std::wstring& path);
bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);
std::string readFile(const std::wstring& path);
bool writeFile(const std::wstring& path, const std::string& bytes);
// writeFile after creating the file's folder with its parents.
bool makeFile(const std::wstring& path, const std::string& bytes = "x");
// A drive root ("Q:\\") that this machine does not have; empty when every letter is taken.
std::wstring missingDrive();
// UTF-16 LE text of a file, byte-order mark dropped.
std::wstring readUtf16File(const std::wstring& path);
// Every file below folder, as paths relative to it, sorted.
std::vector<std::wstring> listFiles(const std::wstring& folder);

struct ProcessResult {
    bool started = false;
    bool finished = false;  // false: killed after the timeout
    int exitCode = 0;
};
// Runs program with the command line "\"program\" arguments" and waits at most timeoutMs.
ProcessResult runProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs = 60000);

} // namespace test
