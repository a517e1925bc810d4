#include <windows.h>
#include <shlobj.h>

#include <set>

#include <gtest/gtest.h>

#include "InstallerFixtures.h"
#include "Paths.h"
#include "SetupCleanup.h"

namespace {


TEST(SetupCleanup, OldClientFileListHasPlainUniqueNames)
{
    std::set<std::wstring> names;
    int dlls = 0;
    int exes = 0;
    for (const wchar_t* name : oldClientFileList) {
        const std::wstring n = name;
        EXPECT_EQ(n.find_first_of(L"\\/:"), std::wstring::npos) << testing::PrintToString(n);
        names.insert(n);
        dlls += n.size() > 4 && n.compare(n.size() - 4, 4, L".dll") == 0;
        exes += n.size() > 4 && n.compare(n.size() - 4, 4, L".exe") == 0;
    }
    EXPECT_EQ(names.size(), 143u);
    EXPECT_EQ(dlls, 125);
    EXPECT_EQ(exes, 14);
}

TEST(SetupCleanup, VersionFolderNamesAsTable)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"8.7.0.1", true}, {L"8.6.0.2", true}, {L"v 9", true},
        {L"", false}, {L"  ", false}, {L".", false}, {L"..", false}, {L". .", false},
        {L"..\\outside", false}, {L"a/b", false}, {L"a\\b", false}, {L"C:", false}, {L"C:\\Windows", false},
        {L"8..7", false},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(isSafeVersionFolderName(name), safe) << testing::PrintToString(std::wstring(name));
}

TEST(SetupCleanup, CleanUpRemovesRecordedVersionsOldFilesAndCacheContents)
{
    test::TempFolder root(L"clean");
    ASSERT_TRUE(test::makeFile(root / L"canary-outside\\canary.txt"));
    const std::wstring p = root / L"Zorvi\\";
    ASSERT_TRUE(test::makeFile(p + L"Launcher.xml",
             "<?xml version=\"1.0\"?><LauncherInfo>"
             "<VersionInfo zorviPath=\"8.6.0.2\"/><VersionInfo zorviPath=\"8.7.0.1\"/>"
             "<VersionInfo zorviPath=\"8.9.9.9\"/><VersionInfo/><VersionInfo zorviPath=\"\"/>"
             "<VersionInfo zorviPath=\".\"/><VersionInfo zorviPath=\"..\"/>"
             "<VersionInfo zorviPath=\"..\\canary-outside\"/>"
             "</LauncherInfo>"));
    ASSERT_TRUE(test::makeFile(p + L"8.6.0.2\\old.dll"));
    ASSERT_TRUE(test::makeFile(p + L"8.6.0.2\\sub\\deep.txt"));
    ASSERT_TRUE(test::makeFile(p + L"8.7.0.1\\stale.txt"));
    ASSERT_TRUE(test::makeFile(p + L"8.5.0.0\\unlisted.txt"));
    ASSERT_TRUE(test::makeFile(p + L"oem.txt"));
    ASSERT_TRUE(test::makeFile(p + L"zorvicore.dll"));
    ASSERT_TRUE(test::makeFile(p + L"keep.me"));
    // An old client file in use (mapped as an image, as by a running program): it cannot be deleted
    // and is moved aside, replacing an older .old copy.
    ASSERT_TRUE(CopyFileW(test::setupExe().c_str(), (p + L"zorviaudio.dll").c_str(), FALSE));
    ASSERT_TRUE(test::makeFile(p + L"zorviaudio.dll.old", "older"));
    UniqueLibrary held(LoadLibraryExW((p + L"zorviaudio.dll").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(held);
    ASSERT_FALSE(DeleteFileW((p + L"zorviaudio.dll").c_str())) << "a mapped image cannot be deleted";

    const std::wstring setupCache = getSetupCacheFolder(p);
    const std::wstring updateCache = getUpdateCacheFolder(p);
    ASSERT_TRUE(test::makeFile(setupCache + L"temp\\t.bin"));
    ASSERT_TRUE(test::makeFile(setupCache + L"updatefiles\\u\\v.bin"));
    ASSERT_TRUE(test::makeFile(setupCache + L"ProductInfo.txt"));
    ASSERT_TRUE(test::makeFile(setupCache + L"other.dat"));
    ASSERT_TRUE(test::makeFile(updateCache + L"patch\\p.bin"));

    cleanUpFile(p);
    held.reset();

    EXPECT_FALSE(test::folderExists(p + L"8.6.0.2"));
    EXPECT_FALSE(test::folderExists(p + L"8.7.0.1"));
    EXPECT_TRUE(test::fileExists(p + L"8.5.0.0\\unlisted.txt"));
    EXPECT_FALSE(test::fileExists(p + L"oem.txt"));
    EXPECT_FALSE(test::fileExists(p + L"zorvicore.dll"));
    EXPECT_FALSE(test::fileExists(p + L"zorviaudio.dll"));
    EXPECT_EQ(test::readFile(p + L"zorviaudio.dll.old"), test::readFile(test::setupExe()));
    EXPECT_TRUE(test::fileExists(p + L"keep.me"));
    EXPECT_TRUE(test::fileExists(p + L"Launcher.xml"));
    EXPECT_TRUE(test::fileExists(root / L"canary-outside\\canary.txt"));

    EXPECT_TRUE(test::folderExists(setupCache + L"temp"));
    EXPECT_TRUE(test::listFiles(setupCache + L"temp").empty());
    EXPECT_TRUE(test::folderExists(setupCache + L"updatefiles"));
    EXPECT_TRUE(test::listFiles(setupCache + L"updatefiles").empty());
    EXPECT_FALSE(test::fileExists(setupCache + L"ProductInfo.txt"));
    EXPECT_TRUE(test::fileExists(setupCache + L"other.dat"));
    EXPECT_TRUE(test::listFiles(updateCache).empty());
    test::removeCacheFolders(p);
}

TEST(SetupCleanup, UnusableLauncherRecordsDeleteNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        {"missing", ""},
        {"no LauncherInfo", "<Other><VersionInfo zorviPath=\"8.7.0.1\"/></Other>"},
        {"unended element", "<LauncherInfo><VersionInfo zorviPath=\"8.7.0.1\">"},
        {"second root", "<LauncherInfo><VersionInfo zorviPath=\"8.7.0.1\"/></LauncherInfo><x/>"},
    };
    for (const auto& [name, xml] : cases) {
        SCOPED_TRACE(name);
        test::TempFolder root(L"clean");
        ASSERT_TRUE(test::makeFile(root / L"8.7.0.1\\keep.txt"));
        if (!xml.empty()) {
            ASSERT_TRUE(test::makeFile(root / L"Launcher.xml", xml));
        }
        std::vector<std::wstring> folders;
        EXPECT_FALSE(readLauncherVersionFolders(root.path(), &folders));
        EXPECT_TRUE(folders.empty());
        cleanOldVersionFolders(root.path());
        EXPECT_TRUE(test::fileExists(root / L"8.7.0.1\\keep.txt"));
    }
}

} // namespace
