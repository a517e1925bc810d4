#include "ZorviUninstallCore.h"

#include <objbase.h>
#include <shlobj.h>

#include "Paths.h"
#include "RunExeFile.h"
#include "SetupLog.h"
#include "UniqueResource.h"
#include "ZorviFileCleaner.h"
#include "ZorviUninstallChecker.h"

namespace {

struct ItemIdListTraits {
    static LPITEMIDLIST invalid() noexcept { return nullptr; }
    static void close(LPITEMIDLIST list) noexcept { CoTaskMemFree(list); }
};
using UniqueItemIdList = UniqueResource<LPITEMIDLIST, ItemIdListTraits>;

// The current user's special folder, without a trailing backslash; empty when it cannot be located.
std::wstring specialFolder(int csidl)
{
    UniqueItemIdList list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.put())) || !list)
        return {};
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.get(), path))
        return {};
    return path;
}

void deleteShortcut(const std::wstring& folder, const wchar_t* name)
{
    DeleteFileW((folder + L"\\" + name + L".lnk").c_str());
}

} // namespace

ZorviUninstallCore::ZorviUninstallCore(IUninstallControlSink* sink)
    : m_checker(std::make_unique<ZorviUninstallChecker>()), m_cleaner(std::make_unique<ZorviFileCleaner>())
{
    m_checker->setSink(sink);
    m_cleaner->setSink(sink);
}

ZorviUninstallCore::~ZorviUninstallCore()
{
    m_checker->stop();
    m_checker.reset();
    m_cleaner->stop();
    m_cleaner.reset();
}

void ZorviUninstallCore::setPath(const std::wstring& path)
{
    logPrint(L"ZorviUninstallCore::setPath, path is %ls", path.c_str());
    m_path = path;
    if (m_path.empty() || m_path.back() != L'\\')
        m_path += L'\\';
}

void ZorviUninstallCore::setSilent(bool silent)
{
    m_silent = silent;
    if (silent) {
        m_checker->setSink(nullptr);
        m_cleaner->setSink(nullptr);
    }
}

void ZorviUninstallCore::startCheck()
{
    m_checker->setPath(m_path);
    m_checker->startPass();
}

void ZorviUninstallCore::startClean(bool async)
{
    m_cleaner->setPath(m_path);
    if (async)
        m_cleaner->start(0, false);
    else
        m_cleaner->execute();
}

std::wstring ZorviUninstallCore::uninstallWorkFolder()
{
    return getDataFolder() + L"setup\\uninstall\\";
}

void ZorviUninstallCore::prepareUninstall()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);

    GUID guid = {};
    CoCreateGuid(&guid);
    wchar_t guidText[MAX_PATH] = {};
    StringFromGUID2(guid, guidText, MAX_PATH);

    const std::wstring workFolder = uninstallWorkFolder();
    deleteFolderContents(workFolder);  // copies left by earlier uninstallations
    const std::wstring copyFolder = workFolder + guidText;
    SHCreateDirectory(nullptr, copyFolder.c_str());
    const std::wstring copy = copyFolder + L"\\uninstall.exe";
    if (!CopyFileW(module, copy.c_str(), FALSE))
        logPrint(L"ZorviUninstallCore::prepareUninstall, copy file fail dest file is %ls, last error is %d",
                 copy.c_str(), static_cast<int>(GetLastError()));

    std::wstring folder = m_path;
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    const std::wstring parameters =
        std::wstring(m_silent ? L"-silencedelete" : L"-delete") + L" -path \"" + folder + L"\"";
    logPrint(L"para is %ls", parameters.c_str());
    runExeFile(copy, parameters, false);
}

void ZorviUninstallCore::_deleteRegedit()
{
    UniqueRegKey run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_ALL_ACCESS,
                      run.put()) == ERROR_SUCCESS)
        RegDeleteValueW(run.get(), L"Zorvi");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\tenvale\\zorvi");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorvi8");
}

void ZorviUninstallCore::_deleteShortcut()
{
    const std::wstring desktop = specialFolder(CSIDL_DESKTOPDIRECTORY);
    if (desktop.empty())
        return;
    for (const wchar_t* name : {L"Zorvi语音", L"Zorvi游戏大厅", L"Zorvi精彩世界", L"看直播"})
        deleteShortcut(desktop, name);
    const std::wstring pelio = desktop + L"\\Pelio游戏.lnk";
    if (GetFileAttributesW(pelio.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileW(pelio.c_str());
    deleteShortcut(desktop, L"Mirro-神秘聊天室");

    const std::wstring programs = specialFolder(CSIDL_PROGRAMS);
    if (programs.empty())
        return;
    const std::wstring tenvale = programs + L"\\Tenvale";
    deleteShortcut(tenvale, L"Zorvi语音");
    deleteShortcut(tenvale, L"卸载Zorvi语音");
    RemoveDirectoryW(tenvale.c_str());  // stays while it holds anything else
    const std::wstring startMenu = specialFolder(CSIDL_STARTMENU);
    if (!startMenu.empty())
        deleteShortcut(startMenu, L"Zorvi语音");
}
