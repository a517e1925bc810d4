#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "Paths.h"
#include "TestSupport.h"

namespace {


TEST(Paths, NormalizePathAsTable)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"c:/Program Files//Zorvi/", L"C:\\PROGRAM FILES\\ZORVI"},
        {L"\\\\server\\\\share\\", L"SERVER\\SHARE"},
        {L"D:\\", L"D:"},
        {L"", L""},
        {L"///", L""},
        {L"d:\\\u7cbe\u5f69\\zorvi", L"D:\\\u7cbe\u5f69\\ZORVI"},
        {L"\u00e9t\u00e9", L"\u00e9T\u00e9"},  // only a to z change case
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(normalizePath(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(Paths, DigestIsMd5OfNormalisedPath)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\PROGRAM FILES\\ZORVI", L"7f86196bc965df1a7cf34d9c01d0952c"},
        {L"c:/program files//zorvi\\", L"7f86196bc965df1a7cf34d9c01d0952c"},
        {L"d:\\Games\\Zorvi", L"8d9be2bac18e0a899d091251093f369a"},
        {L"C:\\", L"d7aa32b0c582222819b91c8e0ccca765"},
        {L"", L""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(pathDigest(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(Paths, CacheFoldersShareOneDigestPerInstallPath)
{
    const std::wstring data = getDataFolder();
    EXPECT_NE(data.find(L"\\tenvale\\zorvi\\"), std::wstring::npos);
    EXPECT_EQ(data.back(), L'\\');
    EXPECT_TRUE(test::folderExists(data));

    const std::wstring install = L"C:\\ZorviCacheTest-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring setup = getSetupCacheFolder(install);
    EXPECT_EQ(setup, data + L"setup\\" + pathDigest(install) + L"\\");
    EXPECT_TRUE(test::folderExists(setup));
    EXPECT_EQ(getSetupCacheFolder(L"c:/zorvicachetest-" + std::to_wstring(GetCurrentProcessId()) + L"//"), setup);
    RemoveDirectoryW(setup.c_str());

    const std::wstring update = getUpdateCacheFolder(install);
    EXPECT_EQ(update, data + L"update\\" + pathDigest(install) + L"\\");
    EXPECT_FALSE(test::folderExists(update)) << "the update cache folder is not created";

    EXPECT_EQ(getUpdateCacheFolder(L""), data + L"update\\\\");
}

TEST(Paths, ValidSetupPathAsTable)
{
    const std::wstring missing = test::missingDrive();
    ASSERT_FALSE(missing.empty());
    const std::pair<std::wstring, bool> cases[] = {
        {L"C:\\", true},
        {L"c:", true},
        {L"C:\\Games\\Zorvi", true},
        {L"c:/games//zorvi/", true},
        {L"C:\\Not\\Yet\\Created\\Folder", true},
        {L"C:\\Games\\Zorvi  ", true},
        {L"  C:\\Games", true},
        {L"C:\\Games\\Zor?vi", false},
        {L"C:\\Games\\Zor*vi", false},
        {L"C:\\Games\\a:b", false},
        {L"C:\\Games\\  \\Zorvi", false},
        {L"C:\\Games\\Zorvi\\ ", true},  // the last part is not examined
        {missing, false},
        {missing + L"Games\\Zorvi", false},
        {L"", false},
        {L"Games", false},
        {L"\\\\server\\share\\zorvi", false},
    };
    for (const auto& [path, valid] : cases)
        EXPECT_EQ(isValidSetupPath(path), valid) << testing::PrintToString(path);
    EXPECT_FALSE(test::folderExists(L"C:\\Not\\Yet")) << "the test never creates folders";
}

TEST(Paths, FreeSpaceOfExistingAndMissingDrives)
{
    EXPECT_GT(getFreeSpaceMB(L"C:\\Program Files\\tenvale"), 0.0);
    EXPECT_EQ(getFreeSpaceMB(test::missingDrive() + L"zorvi"), 0.0);
    EXPECT_EQ(getFreeSpaceMB(L""), 0.0);
}

TEST(Paths, DeleteFolderContentsKeepsRootAndReadOnlyFiles)
{
    test::TempFolder temp(L"del");
    const std::wstring root = temp / L"root";
    for (const wchar_t* folder : {L"root\\a\\b", L"root\\c", L"root\\empty"})
        ASSERT_TRUE(CreateDirectoryW((temp / folder).c_str(), nullptr) ||
                    SHCreateDirectoryExW(nullptr, (temp / folder).c_str(), nullptr) == ERROR_SUCCESS);
    for (const wchar_t* file : {L"root\\top.txt", L"root\\a\\one.bin", L"root\\a\\b\\deep.txt", L"root\\c\\locked.txt"})
        ASSERT_TRUE(test::writeFile(temp / file, "data"));
    SetFileAttributesW((temp / L"root\\c\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    deleteFolderContents(root);
    EXPECT_TRUE(test::folderExists(root));
    EXPECT_EQ(test::listFiles(root), std::vector<std::wstring>{L"c\\locked.txt"});
    EXPECT_FALSE(test::folderExists(temp / L"root\\a"));
    EXPECT_FALSE(test::folderExists(temp / L"root\\empty"));

    deleteFolderContents(temp / L"does-not-exist");
    deleteFolderContents(L"");
}

TEST(Paths, FindProcessWindowMatchesClassAndProcess)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZorviPathsTestWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(findProcessWindow(GetCurrentProcessId(), L"ZorviPathsTestWindow"), window);
    EXPECT_EQ(findProcessWindow(GetCurrentProcessId(), L"ZorviPathsTestWindo"), nullptr);
    EXPECT_EQ(findProcessWindow(GetCurrentProcessId() + 4, L"ZorviPathsTestWindow"), nullptr);
    DestroyWindow(window);
}

} // namespace
