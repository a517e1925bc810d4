// ZorviSetupCore: what the installer does after a successful extraction (registry, shortcuts,
// helper programs, Winsock category) and the finishing operations of the finish page.

#include "ZorviSetupCore.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>

#include "ComSupport.h"
#include "Paths.h"
#include "SetupLog.h"
#include "ShellLink.h"
#include "SystemLibrary.h"

namespace {

constexpr const wchar_t* kClientExe = L"Zorvi.exe";
constexpr const wchar_t* kLinkSuffix = L".lnk";

struct PidlTraits {
    static PIDLIST_ABSOLUTE invalid() noexcept { return nullptr; }
    static void close(PIDLIST_ABSOLUTE p) noexcept { CoTaskMemFree(p); }
};
using UniquePidl = UniqueResource<PIDLIST_ABSOLUTE, PidlTraits>;

// The current user's special folder (no trailing backslash). Logs under the operation's name.
bool shellFolder(int csidl, const wchar_t* operation, std::wstring* folder)
{
    UniquePidl pidl;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, pidl.put())) || !pidl) {
        logPrint(L"ZorviSetupCore::%ls, SHGetSpecialFolderLocation fail.", operation);
        return false;
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(pidl.get(), path)) {
        logPrint(L"ZorviSetupCore::%ls, SHGetPathFromIDList fail.", operation);
        return false;
    }
    *folder = path;
    return true;
}

// Sets a REG_SZ value, terminator included in the byte count as the registry expects: a value
// stored without it hands every reader an unterminated string (and the system adds it anyway when
// the character after the counted ones is a zero).
bool setStringValue(HKEY key, const wchar_t* name, const std::wstring& data)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool endsWithIgnoringCase(const std::wstring& text, const wchar_t* suffix)
{
    const size_t n = wcslen(suffix);
    return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, suffix) == 0;
}

// The part before the last backslash; the whole text when there is none.
std::wstring parentOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

std::wstring fileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Starts a process with the program as application name; closes its handles. False when it did
// not start.
bool startProgram(const std::wstring& program, std::wstring* commandLine, const wchar_t* folder, bool wait)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), commandLine ? commandLine->data() : nullptr, nullptr, nullptr, FALSE, 0,
                        nullptr, folder, &startup, &info))
        return false;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (wait)
        WaitForSingleObject(process.get(), INFINITE);
    return true;
}

} // namespace

bool ZorviSetupCore::_hasInstallPath(const wchar_t* operation) const
{
    const std::wstring& p = m_installPath;
    const bool drive = p.size() >= 3 && std::iswalpha(p[0]) && p[1] == L':' && p[2] == L'\\';
    const bool unc = p.size() >= 3 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'\\';
    if (drive || unc)
        return true;
    logPrint(L"ZorviSetupCore::%ls, no absolute install path, nothing done.", operation);
    return false;
}

void ZorviSetupCore::doAfterDecompress()
{
    logPrint(L"ZorviSetupCore::doAfterDecompress, decompress finished.");
    if (!_hasInstallPath(L"doAfterDecompress"))
        return;
    _writeRegedit();
    _createShortcuts();
    _retargetPinnedShortcuts();
    _do3XUpdate();
    runInstallstat();
    runZorviRun();
    _runLiveShow();
    const std::wstring client = m_installPath + kClientExe;
    const bool result = CustomLsp(client);
    logPrint(L"ZorviSetupCore::CustomLsp, strAppFilePath=%ls, bResult=%d", client.c_str(), result ? 1 : 0);
}

void ZorviSetupCore::_writeRegedit()
{
    for (const wchar_t* name : {L"InstallDir", L"RootPath"}) {
        UniqueRegKey key;
        if (RegCreateKeyW(HKEY_CURRENT_USER, kZorviKey, key.put()) != ERROR_SUCCESS) {
            logPrint(L"ZorviSetupCore::_writeRegedit, RegCreateKey STR_ZORVI_REG_LOCATION fail.");
            continue;
        }
        setStringValue(key.get(), name, m_installPath);
    }

    UniqueRegKey key;
    if (RegCreateKeyW(HKEY_CURRENT_USER, kUninstallKey, key.put()) != ERROR_SUCCESS) {
        logPrint(L"ZorviSetupCore::_writeRegedit, RegCreateKey strUninstallKey fail.");
        return;
    }
    setStringValue(key.get(), L"UninstallString", quotedWhenBlank(m_installPath + L"Uninstall.exe"));
    setStringValue(key.get(), L"DisplayName", L"Zorvi8");
    setStringValue(key.get(), L"Publisher", L"Tenvale游戏网");
    setStringValue(key.get(), L"URLInfoAbout", kProductHomePage);
    setStringValue(key.get(), L"DisplayVersion", kVersionFolder);
}

void ZorviSetupCore::_createShortcuts()
{
    const std::wstring client = m_installPath + kClientExe;
    const std::wstring images = versionFolder() + L"\\image\\";
    std::wstring desktop, programs, startMenu;
    const bool hasDesktop = shellFolder(CSIDL_DESKTOPDIRECTORY, L"_createShortcut", &desktop);
    const bool hasPrograms = shellFolder(CSIDL_PROGRAMS, L"_createShortcut", &programs);
    const bool hasStartMenu = shellFolder(CSIDL_STARTMENU, L"_createShortcut", &startMenu);
    const std::wstring group = programs + L"\\Tenvale";

    if (hasDesktop)
        _createShortcut(client, desktop + L"\\Zorvi语音" + kLinkSuffix, L"");
    if (hasPrograms) {
        SHCreateDirectory(nullptr, group.c_str());
        _createShortcut(client, group + L"\\Zorvi语音" + kLinkSuffix, L"");
    }
    if (hasStartMenu)
        _createShortcut(client, startMenu + L"\\Zorvi语音" + kLinkSuffix, L"");
    if (hasPrograms)
        _createShortcut(m_installPath + L"Uninstall.exe", group + L"\\卸载Zorvi语音" + kLinkSuffix, L"");
    if (!hasDesktop)
        return;
    _createShortcut(L"zorvi://join:lobby_gameab=default&from=from_desklby/", desktop + L"\\Zorvi游戏大厅" + kLinkSuffix,
                    images + L"game.ico");
    _createShortcut(L"zorvi://sollaria-[tabPid=1011&tabSid=10011&from=desktop]/", desktop + L"\\看直播" + kLinkSuffix,
                    images + L"sollaria.ico");
    DeleteFileW((desktop + L"\\Zorvi精彩世界" + kLinkSuffix).c_str());
    _createShortcut(L"zorvi://mirro-[showmirrowindow=1&report=0x10008183]/",
                    desktop + L"\\Mirro-神秘聊天室" + kLinkSuffix, images + L"mirro.ico");
}

bool ZorviSetupCore::_createShortcut(const std::wstring& target, const std::wstring& shortcutFile,
                                     const std::wstring& icon)
{
    ScopedCoInitialize com;
    ShellLink link;
    if (!link.valid()) {
        logPrint(L"ZorviSetupCore::_createShortcut, CoCreateInstance fail.");
        return false;
    }
    if (!icon.empty())
        link.setIconLocation(icon, 0);
    link.setPath(target);
    link.setWorkingDirectory(getDataFolder());
    if (!link.hasPersistFile()) {
        logPrint(L"ZorviSetupCore::_createShortcut, QueryInterface fail.");
        return false;
    }
    if (!link.save(shortcutFile)) {
        logPrint(L"ZorviSetupCore::_createShortcut, save %ls fail.", shortcutFile.c_str());
        return false;
    }
    return true;
}

void ZorviSetupCore::_retargetPinnedShortcuts()
{
    wchar_t quickLaunch[MAX_PATH] = {};
    const DWORD length =
        ExpandEnvironmentStringsW(L"%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch", quickLaunch, MAX_PATH);
    // An unset APPDATA stays as "%APPDATA%...", a relative path: never search that.
    if (length == 0 || length > MAX_PATH || quickLaunch[0] == L'%')
        return;
    const std::wstring base = quickLaunch;
    const std::wstring target = m_installPath + kClientExe;
    for (const wchar_t* sub : {L"", L"\\User Pinned\\StartMenu", L"\\User Pinned\\TaskBar"}) {
        const std::wstring folder = base + sub;
        if (isFolder(folder))
            retargetShortcuts(folder, target);
    }
}

void ZorviSetupCore::retargetShortcuts(const std::wstring& folder, const std::wstring& newTarget)
{
    ScopedCoInitialize com;
    const std::wstring newFolder = parentOf(newTarget);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*" + kLinkSuffix).c_str(), &data));
    if (!find)
        return;
    do {
        // "*.lnk" also matches longer extensions through their short names.
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !endsWithIgnoringCase(data.cFileName, kLinkSuffix))
            continue;
        const std::wstring file = folder + L"\\" + data.cFileName;
        ShellLink link;
        if (!link.load(file))
            continue;
        const std::wstring current = link.path();
        const std::wstring name = fileNameOf(current);
        if (_wcsicmp(name.c_str(), L"zorvilauncher.exe") != 0 && _wcsicmp(name.c_str(), kClientExe) != 0)
            continue;
        if (_wcsicmp(parentOf(current).c_str(), newFolder.c_str()) == 0)
            continue;
        link.setPath(newTarget);
        link.setWorkingDirectory(getDataFolder());
        if (!link.save(file))
            logPrint(L"ZorviSetupCore::retargetShortcuts, save %ls fail.", file.c_str());
    } while (FindNextFileW(find.get(), &data));
}

void ZorviSetupCore::_do3XUpdate()
{
    logPrint(L"ZorviSetupCore::_do3XUpdate begin.");
    if (startProgram(m_installPath + L"zorviwizard.exe", nullptr, nullptr, true))
        logPrint(L"ZorviSetupCore::_do3XUpdate, wait finish.");
    logPrint(L"ZorviSetupCore::_do3XUpdate finish.");
}

void ZorviSetupCore::runInstallstat()
{
    const std::wstring program = versionFolder() + L"\\installstat.exe";
    const std::wstring argument = std::wstring(L"\"|") + kVersionFolder + L"|" + std::to_wstring(1) + L"|i|\"";
    runProcess(program, argument.c_str(), m_installPath.c_str(), false);
    logPrint(L"ZorviSetupCore::runInstallstat, run %ls parameter is %ls.", program.c_str(), argument.c_str());
}

void ZorviSetupCore::runZorviRun()
{
    const std::wstring program = versionFolder() + L"\\zorvirun.exe";
    runProcess(program, L"-reg", m_installPath.c_str(), false);
    logPrint(L"ZorviSetupCore::runZorviRun, run %ls parameter is -reg.", program.c_str());
}

void ZorviSetupCore::_runLiveShow()
{
    const int bits = getSystemBits();
    if (!startProgram(versionFolder() + L"\\zorvidesktopshortcut_x86.exe", nullptr, nullptr, false))
        logPrint(L"ZorviSetupCore::_runLiveShow, CreateProcess fail. sysBits=%d", bits);
}

bool ZorviSetupCore::CustomLsp(const std::wstring& appFilePath)
{
    if (appFilePath.empty())
        return false;
    using SetCategory = int(WINAPI*)(LPCWSTR path, DWORD pathLength, LPCWSTR extra, DWORD extraLength,
                                     DWORD permittedCategories, DWORD* previousCategories, LPINT errorCode);
    constexpr DWORD kLspSystem = 0x80000000;
    UniqueLibrary ws2 = loadSystemLibrary(L"Ws2_32.dll");
    if (!ws2)
        return false;
    const auto setCategory =
        reinterpret_cast<SetCategory>(reinterpret_cast<void*>(GetProcAddress(ws2.get(), "WSCSetApplicationCategory")));
    if (!setCategory)
        return false;
    int error = 0;
    return setCategory(appFilePath.c_str(), static_cast<DWORD>(appFilePath.size()), nullptr, 0, kLspSystem, nullptr,
                       &error) == 0;
}

void ZorviSetupCore::runZorvi()
{
    if (_hasInstallPath(L"runZorvi"))
        runProcess(m_installPath + kClientExe, nullptr, getDataFolder().c_str(), false);
}

void ZorviSetupCore::setAutoRun()
{
    if (!_hasInstallPath(L"setAutoRun"))
        return;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return;
    logPrint(L"ZorviSetupCore::setAutoRun, write REGEDIT (auto run Zorvi).");
    setStringValue(key.get(), L"Zorvi", quotedWhenBlank(m_installPath + kClientExe));
}

void ZorviSetupCore::viewReleaseNote()
{
    logPrint(L"ZorviSetupCore::viewReleaseNote, view new feature.");
    openUrl(kReleaseNotesPage);
}

void ZorviSetupCore::openHomePage()
{
    openUrl(kPortalHomePage);
}

void ZorviSetupCore::collectTenvale()
{
    logPrint(L"ZorviSetupCore::collectTenvale, collect official website.");
    std::wstring favourites;
    if (!shellFolder(CSIDL_FAVORITES, L"collectTenvale", &favourites))
        return;
    const std::wstring file = favourites + L"\\Tenvale游戏网.url";
    UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
    if (!handle) {
        logPrint(L"ZorviSetupCore::collectTenvale, CreateFile fail.");
        return;
    }
    // The byte-order mark is what tells the profile reader that the file is UTF-16: without it the
    // shortcut reads as an empty ANSI file and the favourite leads nowhere.
    const std::wstring text = std::wstring(L"\xFEFF[InternetShortcut]\nURL=") + kPortalFavouritePage;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!WriteFile(handle.get(), text.data(), size, &written, nullptr) || written != size)
        logPrint(L"ZorviSetupCore::collectTenvale, WriteFile fail.");
}

void ZorviSetupCore::createPelioShortcut()
{
    if (!_hasInstallPath(L"createPelioShortcut"))
        return;
    ScopedCoInitialize com;
    std::wstring desktop;
    if (!shellFolder(CSIDL_DESKTOPDIRECTORY, L"createPelioShortcut", &desktop))
        return;
    const std::wstring icon = versionFolder() + L"\\image\\pelio.ico";
    if (!isFile(icon))
        return;
    ShellLink link;
    if (!link.valid() || !link.hasPersistFile()) {
        logPrint(L"ZorviSetupCore::createPelioShortcut, CoCreateInstance fail.");
        return;
    }
    link.setPath(L"zorvi://gamebox/" + hexText(L"launch_type:type^=^zorvidesklnk"));
    link.setIconLocation(icon, 0);
    if (!link.save(desktop + L"\\Pelio游戏" + kLinkSuffix))
        logPrint(L"ZorviSetupCore::createPelioShortcut, save fail.");
}

bool ZorviSetupCore::runProcess(const std::wstring& program, const wchar_t* argument, const wchar_t* folder, bool wait)
{
    std::wstring commandLine = argument ? L"\"" + program + L"\" \"" + argument + L"\"" : program;
    return startProgram(program, &commandLine, folder, wait);
}

int ZorviSetupCore::getSystemBits()
{
    using GetNativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    SYSTEM_INFO info = {};
    const auto getNative = reinterpret_cast<GetNativeInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "GetNativeSystemInfo")));
    if (getNative)
        getNative(&info);
    else
        GetSystemInfo(&info);
    const WORD architecture = info.wProcessorArchitecture;
    return architecture == PROCESSOR_ARCHITECTURE_AMD64 || architecture == PROCESSOR_ARCHITECTURE_IA64 ? 64 : 32;
}

std::wstring ZorviSetupCore::hexText(const std::wstring& text)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex;
    hex.reserve(text.size() * 2);
    for (wchar_t c : text) {
        hex += digits[(c >> 4) & 0xF];
        hex += digits[c & 0xF];
    }
    return hex;
}

std::wstring ZorviSetupCore::quotedWhenBlank(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

ZorviSetupCore::ShellOpenRequest ZorviSetupCore::browserRequest(const std::wstring& url,
                                                                const std::wstring& httpOpenCommand)
{
    std::wstring lower = httpOpenCommand;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    ShellOpenRequest request;
    if (lower.find(L"iexplore.exe") != std::wstring::npos) {
        request.internetExplorer = true;
        request.file = L"iexplore.exe";
        request.parameters = url;
    } else {
        request.file = url;
        request.parameters = L"-new";
    }
    return request;
}

void ZorviSetupCore::openUrl(const std::wstring& url)
{
    logPrint(L"open url %ls", url.c_str());
    wchar_t command[260] = {};
    DWORD size = sizeof command;
    DWORD type = 0;
    std::wstring text;
    if (SHGetValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, &type, command, &size) ==
        ERROR_SUCCESS)
        text.assign(command, wcsnlen(command, size / sizeof(wchar_t)));
    const ShellOpenRequest request = browserRequest(url, text);
    if (request.internetExplorer)
        logPrint(L"[IE] open url %ls", url.c_str());
    if (m_urlLauncher)
        m_urlLauncher(request);
}

void ZorviSetupCore::shellOpen(const ShellOpenRequest& request)
{
    ScopedCoInitialize com;  // shell handlers may need COM on this thread
    if (request.internetExplorer) {
        ShellExecuteW(nullptr, L"open", request.file.c_str(), request.parameters.c_str(), nullptr, SW_SHOW);
        return;
    }
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = request.file.c_str();
    info.lpParameters = request.parameters.c_str();
    info.nShow = SW_SHOWDEFAULT;
    ShellExecuteExW(&info);
}
