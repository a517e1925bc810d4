#include "UninstallFixture.h"

#include <objbase.h>
#include <shlobj.h>

#include "Paths.h"
#include "ProcessList.h"
#include "Text.h"

namespace uninstall_test {

const wchar_t kRegistryKey[] = L"Software\\tenvale\\zorvi";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorvi8";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {

const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

template <typename Interface>
struct ComTraits {
    static Interface* invalid() noexcept { return nullptr; }
    static void close(Interface* p) noexcept { p->Release(); }
};
template <typename Interface>
using UniqueCom = UniqueResource<Interface*, ComTraits<Interface>>;

bool copyStub(const std::wstring& to)
{
    return CopyFileW(stubExe().c_str(), to.c_str(), FALSE) != 0;
}

bool createShortcut(const std::wstring& file, const std::wstring& target)
{
    UniqueCom<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
        return false;
    link.get()->SetPath(target.c_str());
    link.get()->SetWorkingDirectory(getDataFolder().c_str());
    UniqueCom<IPersistFile> persist;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()))))
        return false;
    return SUCCEEDED(persist.get()->Save(file.c_str(), TRUE));
}

void setString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>(value.size() * sizeof(wchar_t)));
}

} // namespace

std::wstring uninstallExe()
{
    return test::binFolder() + L"Uninstall.exe";
}

std::wstring stubExe()
{
    return test::binFolder() + L"uninstall_test_stub.exe";
}

std::wstring workFolder()
{
    return getDataFolder() + L"setup\\uninstall\\";
}

LogWatch::LogWatch(const wchar_t* fileName)
    : m_path(getDataFolder() + L"setup\\" + fileName), m_start(test::readUtf16File(m_path).size())
{
}

std::wstring LogWatch::text() const
{
    const std::wstring all = test::readUtf16File(m_path);
    return m_start < all.size() ? all.substr(m_start) : std::wstring();
}

bool keyExists(const wchar_t* subKey)
{
    UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool runValueExists()
{
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Zorvi", RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

UserStateGuard::UserStateGuard()
{
    static int counter = 0;
    const std::wstring backupRoot = L"Software\\ZorviTests\\backup-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(++counter) + L"-";
    int index = 0;
    for (const wchar_t* subKey : {kRegistryKey, kUninstallKey}) {
        SavedKey saved{subKey, backupRoot + std::to_wstring(index++), false};
        UniqueRegKey source;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, source.put()) == ERROR_SUCCESS) {
            UniqueRegKey backup;
            RegCreateKeyExW(HKEY_CURRENT_USER, saved.backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            backup.put(), nullptr);
            saved.existed = RegCopyTreeW(source.get(), nullptr, backup.get()) == ERROR_SUCCESS;
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, subKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, subKey);
        m_keys.push_back(saved);
    }
    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {kRunKey, L"Zorvi"},
        {kShellFoldersKey, L"Desktop"},
        {kShellFoldersKey, L"Programs"},
        {kShellFoldersKey, L"Start Menu"},
        {kShellFoldersKey, L"Personal"},
    };
    for (const auto& [subKey, name] : values) {
        SavedValue saved{subKey, name};
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, subKey, name, RRF_RT_ANY | RRF_NOEXPAND, &saved.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.existed = RegGetValueW(HKEY_CURRENT_USER, subKey, name, RRF_RT_ANY | RRF_NOEXPAND, &saved.type,
                                         saved.data.data(), &size) == ERROR_SUCCESS;
        }
        m_values.push_back(saved);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Zorvi");
    redirect(L"Desktop", desktop());
    redirect(L"Programs", programs());
    redirect(L"Start Menu", startMenu());
    redirect(L"Personal", documents());

    m_recordFile = m_shell.path() + L"records.txt";
    SetEnvironmentVariableW(L"ZORVI_STUB_RECORD", m_recordFile.c_str());
}

UserStateGuard::~UserStateGuard()
{
    SetEnvironmentVariableW(L"ZORVI_STUB_RECORD", nullptr);
    for (const SavedValue& saved : m_values) {
        if (saved.existed)
            RegSetKeyValueW(HKEY_CURRENT_USER, saved.subKey.c_str(), saved.name.c_str(), saved.type, saved.data.data(),
                            static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, saved.subKey.c_str(), saved.name.c_str());
    }
    for (const SavedKey& saved : m_keys) {
        RegDeleteTreeW(HKEY_CURRENT_USER, saved.subKey.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, saved.subKey.c_str());
        if (saved.existed) {
            UniqueRegKey target;
            UniqueRegKey backup;
            RegCreateKeyExW(HKEY_CURRENT_USER, saved.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            target.put(), nullptr);
            if (RegOpenKeyExW(HKEY_CURRENT_USER, saved.backup.c_str(), 0, KEY_READ, backup.put()) == ERROR_SUCCESS)
                RegCopyTreeW(backup.get(), nullptr, target.get());
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, saved.backup.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, saved.backup.c_str());
    }
}

void UserStateGuard::redirect(const wchar_t* name, const std::wstring& folder)
{
    SHCreateDirectory(nullptr, folder.c_str());
    RegSetKeyValueW(HKEY_CURRENT_USER, kShellFoldersKey, name, REG_EXPAND_SZ, folder.c_str(),
                    static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

void UserStateGuard::setDocuments(const std::wstring& folder)
{
    redirect(L"Personal", folder);
}

std::vector<std::wstring> UserStateGuard::records() const
{
    const std::string bytes = test::readFile(m_recordFile);
    const std::wstring text = multiByteToWide(bytes.data(), static_cast<int>(bytes.size()), CP_UTF8);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = text.find(L'\n'); end != std::wstring::npos; end = text.find(L'\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

FixtureInstallation::FixtureInstallation()
{
    CopyFileW(uninstallExe().c_str(), (path() + L"Uninstall.exe").c_str(), FALSE);
    copyStub(path() + L"Zorvi.exe");
    SHCreateDirectory(nullptr, (path() + L"8.4.0.4\\image").c_str());
    copyStub(path() + L"8.4.0.4\\zorvirun.exe");
    copyStub(path() + L"8.4.0.4\\installstat.exe");
    test::writeFile(path() + L"8.4.0.4\\image\\game.ico", "icon");
    test::writeFile(path() + L"Launcher.xml", "<LauncherInfo><VersionInfo zorviPath=\"8.4.0.4\"/></LauncherInfo>");
    SHCreateDirectory(nullptr, (path() + L"res\\skin").c_str());
    test::writeFile(path() + L"res\\skin\\main.png", "png");
    test::writeFile(path() + L"zorvi.dat", "data");
}

FixtureInstallation::~FixtureInstallation()
{
    test::removeTree(getSetupCacheFolder(path()));
}

std::vector<std::wstring> FixtureInstallation::shortcutFiles(const UserStateGuard& user)
{
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"Zorvi语音", L"Zorvi游戏大厅", L"Zorvi精彩世界", L"看直播", L"Pelio游戏",
                                L"Mirro-神秘聊天室"})
        files.push_back(user.desktop() + L"\\" + name + L".lnk");
    files.push_back(user.programs() + L"\\Tenvale\\Zorvi语音.lnk");
    files.push_back(user.programs() + L"\\Tenvale\\卸载Zorvi语音.lnk");
    files.push_back(user.startMenu() + L"\\Zorvi语音.lnk");
    return files;
}

void FixtureInstallation::registerWith(const UserStateGuard& user)
{
    UniqueRegKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    setString(key.get(), L"InstallDir", path());
    setString(key.get(), L"RootPath", path());
    RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    setString(key.get(), L"UninstallString", path() + L"Uninstall.exe");
    setString(key.get(), L"DisplayName", L"Zorvi8");
    setString(key.get(), L"Publisher", L"Tenvale游戏网");
    setString(key.get(), L"URLInfoAbout", L"http://zorvi.example/");
    setString(key.get(), L"DisplayVersion", L"8.7.0.1");
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS)
        setString(key.get(), L"Zorvi", path() + L"Zorvi.exe");

    SHCreateDirectory(nullptr, (user.programs() + L"\\Tenvale").c_str());
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring client = path() + L"Zorvi.exe";
    const std::vector<std::wstring> files = shortcutFiles(user);
    const std::wstring targets[] = {
        client,
        L"zorvi://join:lobby_gameab=default&from=from_desklby/",
        client,
        L"zorvi://sollaria-[tabPid=1011&tabSid=10011&from=desktop]/",
        L"zorvi://gamebox/",
        L"zorvi://mirro-[showmirrowindow=1&report=0x10008183]/",
        client,
        path() + L"Uninstall.exe",
        client,
    };
    for (size_t i = 0; i < files.size(); ++i)
        createShortcut(files[i], targets[i]);
    if (SUCCEEDED(com))
        CoUninitialize();
}

namespace {
bool anyProcessBelow(const std::wstring& folder)
{
    bool found = false;
    forEachProcess([&](const PROCESSENTRY32W& process) {
        const std::wstring program = processImagePath(process.th32ProcessID);
        found = program.size() > folder.size() &&
                CompareStringOrdinal(program.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                     static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
        return !found;
    });
    return found;
}
} // namespace

bool waitForProcessesBelow(const std::wstring& folder, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (!anyProcessBelow(folder))
            return true;
        Sleep(50);
    }
    return !anyProcessBelow(folder);
}

bool waitUntilGone(const std::wstring& path, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(50);
    }
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace uninstall_test
