// Stand-ins for the client's programs, for tests: one source built under each program name, the
// behaviour chosen by the program's own file name.
//
// Every program appends lines to a record file, named by the environment variable
// ZORVI_STUB_RECORD or else "stub-record.txt" in the temporary folder (UTF-8, one line each,
// fields separated by tabs):
//   start <tab> file name <tab> process id <tab> command line <tab> working folder
//   quit-request <tab> file name <tab> process id       (Zorvi.exe, on WM_APP + 601)
//   end <tab> file name <tab> process id
//
// Zorvi.exe opens a hidden top-level window of the client's main-window class and ends when that
// window receives WM_APP + 601, unless ZORVI_STUB_IGNORE_QUIT is set or "-ignorequit" is on its
// command line; it gives up by itself after five minutes. Every other name writes its start line,
// sleeps ZORVI_STUB_SLEEP_MS milliseconds (default 0) and ends.

#include <windows.h>

#include <string>

namespace {

constexpr UINT kQuitRequest = WM_APP + 601;
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 5 * 60 * 1000;
constexpr const wchar_t* kClientClass = L"TENVALE SPEAK MAIN FRAME | 4D1BB563-E5FC-4771-AD17-6442A4147044";

std::wstring g_name;
bool g_ignoreQuit = false;

std::wstring environment(const wchar_t* name)
{
    wchar_t value[32768];
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

std::wstring recordPath()
{
    std::wstring path = environment(L"ZORVI_STUB_RECORD");
    if (!path.empty())
        return path;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"stub-record.txt";
}

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Appends one line with a single write, so that lines of programs running together never mix.
void record(const std::wstring& fields)
{
    const std::string line = utf8(fields + L"\r\n");
    const std::wstring path = recordPath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}

std::wstring pidText()
{
    return std::to_wstring(GetCurrentProcessId());
}

LRESULT CALLBACK clientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kQuitRequest:
        record(L"quit-request\t" + g_name + L"\t" + pidText());
        if (!g_ignoreQuit)
            DestroyWindow(window);
        return 0;
    case WM_TIMER:
        if (wParam == kLifetimeTimer)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void runClient(HINSTANCE instance)
{
    g_ignoreQuit = !environment(L"ZORVI_STUB_IGNORE_QUIT").empty() ||
                   std::wstring(GetCommandLineW()).find(L"-ignorequit") != std::wstring::npos;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = clientWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClientClass;
    if (!RegisterClassW(&windowClass))
        return;
    HWND window = CreateWindowExW(0, kClientClass, L"Zorvi", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200,
                                  100, nullptr, nullptr, instance, nullptr);
    if (!window)
        return;
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    wchar_t module[32768] = {};
    GetModuleFileNameW(nullptr, module, 32768);
    g_name = module;
    g_name = g_name.substr(g_name.find_last_of(L'\\') + 1);
    wchar_t folder[32768] = {};
    GetCurrentDirectoryW(32768, folder);
    record(L"start\t" + g_name + L"\t" + pidText() + L"\t" + GetCommandLineW() + L"\t" + folder);

    if (_wcsicmp(g_name.c_str(), L"Zorvi.exe") == 0) {
        runClient(instance);
    } else {
        const std::wstring sleep = environment(L"ZORVI_STUB_SLEEP_MS");
        if (!sleep.empty())
            Sleep(static_cast<DWORD>(wcstoul(sleep.c_str(), nullptr, 10)));
    }
    record(L"end\t" + g_name + L"\t" + pidText());
    return 0;
}
