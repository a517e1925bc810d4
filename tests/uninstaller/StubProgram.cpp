// Test-only stand-in for the client's programs, copied under the names the uninstaller looks for.
// Its behaviour follows its own file name:
// - "zorvirun.exe", "installstat.exe": append "<name>\t<command line>\t<current folder>\n" (UTF-8)
//   to the file named by %ZORVI_STUB_RECORD% and exit with 0;
// - any other name: create "<own path>.lock" without delete sharing and keep it open (its existence
//   tells the test the program is up), open a window (of the client's main-window class when the
//   name is "Zorvi.exe") and run until closed, at most 60 s, then exit with 7.

#include <windows.h>

#include <string>

namespace {

const wchar_t kClientWindowClass[] = L"TENVALE SPEAK MAIN FRAME | 4D1BB563-E5FC-4771-AD17-6442A4147044";

std::wstring lower(std::wstring text)
{
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

void appendRecord(const std::wstring& name)
{
    wchar_t recordPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ZORVI_STUB_RECORD", recordPath, MAX_PATH))
        return;
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring line = name + L"\t" + GetCommandLineW() + L"\t" + folder + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr, nullptr);
    HANDLE file = CreateFileW(recordPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

int stayRunning(HINSTANCE instance, const std::wstring& self, const std::wstring& name)
{
    const wchar_t* className = name == L"zorvi.exe" ? kClientWindowClass : L"ZorviTestStub";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className, L"stub", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    // Held until the process ends: the file cannot be deleted while this program runs.
    HANDLE lock = CreateFileW((self + L".lock").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    SetTimer(window, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageW(&msg);
    }
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    return 7;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring self = module;
    const std::wstring name = lower(self.substr(self.find_last_of(L'\\') + 1));
    if (name == L"zorvirun.exe" || name == L"installstat.exe") {
        appendRecord(name);
        return 0;
    }
    return stayRunning(instance, self, name);
}
