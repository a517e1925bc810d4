#include "SavedState.h"

#include <shlobj.h>

#include "TestSupport.h"
#include "UniqueResource.h"

namespace test {

namespace {
bool keyExists(const std::wstring& subKey)
{
    UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring withoutTrailingBackslash(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// The first prefix of path (cut at a backslash) for which missing() holds; empty when none does.
template <typename Missing>
std::wstring topmostMissing(const std::wstring& path, Missing missing)
{
    for (size_t slash = path.find(L'\\'); ; slash = path.find(L'\\', slash + 1)) {
        const std::wstring prefix = path.substr(0, slash);
        if (!prefix.empty() && prefix.back() != L':' && missing(prefix))
            return prefix;
        if (slash == std::wstring::npos)
            return {};
    }
}
} // namespace

SavedRegistryKey::SavedRegistryKey(const std::wstring& subKey) : m_subKey(subKey)
{
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        m_createdRoot = topmostMissing(subKey, [](const std::wstring& k) { return !keyExists(k); });
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Value value{name, type, std::vector<BYTE>(size)};
        RegQueryValueExW(key.get(), name, nullptr, nullptr, value.data.data(), &size);
        value.data.resize(size);
        m_values.push_back(std::move(value));
    }
}

SavedRegistryKey::~SavedRegistryKey()
{
    if (!m_createdRoot.empty()) {
        RegDeleteTreeW(HKEY_CURRENT_USER, m_createdRoot.c_str());
        return;
    }
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS)
        return;
    std::vector<std::wstring> present;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        present.push_back(name);
    }
    for (const std::wstring& name : present)
        RegDeleteValueW(key.get(), name.c_str());
    for (const Value& value : m_values)
        RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
}

SavedFiles::SavedFiles(std::vector<std::wstring> paths)
{
    for (std::wstring& path : paths) {
        const bool existed = fileExists(path);
        std::string bytes = existed ? readFile(path) : std::string();
        m_files.push_back({std::move(path), existed, std::move(bytes)});
    }
}

SavedFiles::~SavedFiles()
{
    for (const File& file : m_files) {
        if (file.existed)
            writeFile(file.path, file.bytes);
        else
            DeleteFileW(file.path.c_str());
    }
}

SavedFolder::SavedFolder(const std::wstring& path) : m_path(withoutTrailingBackslash(path))
{
    m_createdRoot = topmostMissing(m_path, [](const std::wstring& f) { return !folderExists(f); });
}

SavedFolder::~SavedFolder()
{
    if (!m_createdRoot.empty())
        removeTree(m_createdRoot);
}

bool SavedFolder::create() const
{
    SHCreateDirectory(nullptr, m_path.c_str());
    return folderExists(m_path);
}

namespace {
std::wstring specialFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE) ? folder : L"";
}
} // namespace

SavedInstallerFootprint::SavedInstallerFootprint()
    : m_desktop(specialFolder(CSIDL_DESKTOPDIRECTORY)),
      m_programs(specialFolder(CSIDL_PROGRAMS)),
      m_startMenu(specialFolder(CSIDL_STARTMENU)),
      m_favourites(specialFolder(CSIDL_FAVORITES))
{
    m_zorviKey = std::make_unique<SavedRegistryKey>(L"Software\\tenvale\\zorvi");
    m_uninstallKey = std::make_unique<SavedRegistryKey>(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorvi8");
    m_runKey = std::make_unique<SavedRegistryKey>(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    if (!complete())
        return;
    m_group = std::make_unique<SavedFolder>(group());
    m_files = std::make_unique<SavedFiles>(std::vector<std::wstring>{
        onDesktop(L"Zorvi语音"), onDesktop(L"Zorvi游戏大厅"), onDesktop(L"看直播"), onDesktop(L"Zorvi精彩世界"),
        onDesktop(L"Mirro-神秘聊天室"), onDesktop(L"Pelio游戏"), group() + L"\\Zorvi语音.lnk",
        group() + L"\\卸载Zorvi语音.lnk", m_startMenu + L"\\Zorvi语音.lnk", m_favourites + L"\\Tenvale游戏网.url"});
}

// Files first, then the group folder they may live in, then the keys.
SavedInstallerFootprint::~SavedInstallerFootprint()
{
    m_files.reset();
    m_group.reset();
}

bool SavedInstallerFootprint::complete() const
{
    return !m_desktop.empty() && !m_programs.empty() && !m_startMenu.empty() && !m_favourites.empty();
}

} // namespace test
