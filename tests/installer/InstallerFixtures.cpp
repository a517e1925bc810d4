#include "InstallerFixtures.h"

#include "Paths.h"

namespace test {

std::wstring setupExe()
{
    return binFolder() + L"ZorviSetup.exe";
}

std::wstring payloadArchive()
{
    return binFolder() + L"..\\payload\\zorvi.7z";
}

std::wstring payloadTree()
{
    const std::wstring tree = binFolder() + L"..\\payload\\tree\\";
    return folderExists(tree + L"InstallDir") ? tree : std::wstring();
}

std::wstring installerWithPayload(const std::wstring& folder, const std::string& archive)
{
    const std::wstring copy = folder + L"ZorviSetup.exe";
    if (!CopyFileW(setupExe().c_str(), copy.c_str(), FALSE))
        return {};
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update)
        return {};
    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const BOOL replaced = UpdateResourceW(update, L"ZIP", MAKEINTRESOURCEW(101), chinese,
                                          const_cast<char*>(archive.data()), static_cast<DWORD>(archive.size()));
    if (!EndUpdateResourceW(update, !replaced) || !replaced)
        return {};
    return copy;
}

void removeCacheFolders(const std::wstring& installPath)
{
    removeTree(getDataFolder() + L"setup\\" + pathDigest(installPath));
    removeTree(getDataFolder() + L"update\\" + pathDigest(installPath));
}

} // namespace test
