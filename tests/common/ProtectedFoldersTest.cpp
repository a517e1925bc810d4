#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "ProtectedFolders.h"
#include "TestSupport.h"

namespace {

std::wstring special(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}

std::wstring parentOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST(ProtectedFolders, SystemAndUserFoldersAsTable)
{
    test::TempFolder temp(L"plain");
    const std::wstring windows = special(CSIDL_WINDOWS);
    const std::wstring documents = special(CSIDL_PERSONAL);
    const std::wstring appData = special(CSIDL_APPDATA);
    ASSERT_FALSE(windows.empty());
    const std::pair<std::wstring, bool> cases[] = {
        {L"C:\\", true},
        {L"c:", true},
        {L"C:/", true},
        {L"\\\\?\\C:\\", true},
        {L"\\\\server\\share", true},
        {L"", true},
        {windows, true},
        {windows + L"\\", true},
        {windows + L"\\system32", true},
        {L"c:/WINDOWS/", true},
        {windows + L"\\system32\\..", true},
        {special(CSIDL_PROGRAM_FILES), true},
        {special(CSIDL_PROFILE), true},
        {parentOf(special(CSIDL_PROFILE)), true},  // holds the profile
        {documents, true},
        {special(CSIDL_DESKTOPDIRECTORY), true},
        {appData, true},
        {special(CSIDL_STARTMENU), true},
        {appData + L"\\tenvale\\zorvi", true},
        {appData + L"\\tenvale", true},
        {temp.path(), false},
        {temp.path() + L"not yet made", false},
        {special(CSIDL_PROGRAM_FILES) + L"\\tenvale\\zorvi", false},
        {windows + L"\\Temp\\zorvi-install", false},  // below a well-known folder is not holding one
        {appData + L"\\tenvale\\zorvi\\setup\\uninstall", false},
    };
    for (const auto& [path, protectedFolder] : cases)
        EXPECT_EQ(isProtectedFolder(path), protectedFolder) << testing::PrintToString(path);
}

TEST(ProtectedFolders, CanonicalPathsAsTable)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Games\\Zorvi\\", L"C:\\Games\\Zorvi"},
        {L"C:/Games//Zorvi", L"C:\\Games\\Zorvi"},
        {L"C:\\Games\\..\\Zorvi", L"C:\\Zorvi"},
        {L"\\\\?\\C:\\Games", L"C:\\Games"},
        {L"C:\\", L"C:\\"},
        {L"", L""},
    };
    for (const auto& [path, canonical] : cases)
        EXPECT_EQ(canonicalFolderPath(path), canonical) << testing::PrintToString(path);
}

} // namespace
