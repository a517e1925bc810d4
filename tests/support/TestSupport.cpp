#include "TestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>

namespace test {

std::wstring binFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

namespace {
std::atomic<int> g_counter{0};

std::wstring uniqueName(const wchar_t* tag)
{
    return std::wstring(tag) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++g_counter);
}
} // namespace

TempFolder::TempFolder(const wchar_t* tag)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"zorvi-tests\\" + uniqueName(tag) + L"\\";
    SHCreateDirectory(nullptr, m_path.c_str());
}

TempFolder::~TempFolder()
{
    removeTree(m_path);
}

TestRegistryKey::TestRegistryKey() : m_subKey(L"Software\\ZorviTests\\" + uniqueName(L"key"))
{
    RegCreateKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, m_key.put(),
                    nullptr);
}

TestRegistryKey::~TestRegistryKey()
{
    m_key.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, m_subKey.c_str());
}

void removeTree(const std::wstring& path)
{
    std::wstring base = path;
    while (!base.empty() && base.back() == L'\\')
        base.pop_back();
    const DWORD attributes = GetFileAttributesW(base.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(base.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(base.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..")
                    removeTree(base + L"\\" + name);
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
    }
    RemoveDirectoryW(base.c_str());
}

bool fileExists(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readFile(const std::wstring& path)
{
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool writeFile(const std::wstring& path, const std::string& bytes)
{
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool makeFile(const std::wstring& path, const std::string& bytes)
{
    SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    return writeFile(path, bytes);
}

std::wstring missingDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter)
        if (!(drives & (1u << (letter - L'A'))))
            return std::wstring(1, letter) + L":\\";
    return L"";
}

std::wstring readUtf16File(const std::wstring& path)
{
    const std::string bytes = readFile(path);
    size_t start = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                           static_cast<unsigned char>(bytes[1]) == 0xFE
                       ? 2
                       : 0;
    std::wstring text((bytes.size() - start) / 2, L'\0');
    memcpy(text.data(), bytes.data() + start, text.size() * 2);
    return text;
}

namespace {
void collect(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>* out)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            collect(folder + name + L"\\", prefix + name + L"\\", out);
        else
            out->push_back(prefix + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}
} // namespace

std::vector<std::wstring> listFiles(const std::wstring& folder)
{
    std::vector<std::wstring> files;
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    collect(base, L"", &files);
    std::sort(files.begin(), files.end());
    return files;
}

ProcessResult runProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs)
{
    ProcessResult result;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return result;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    result.started = true;
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
        return result;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    result.finished = true;
    result.exitCode = static_cast<int>(code);
    return result;
}

} // namespace test
