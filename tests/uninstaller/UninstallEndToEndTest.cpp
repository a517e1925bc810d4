// End to end: the built Uninstall.exe removing an installation laid out as the installer leaves it,
// with the test stub standing in for the client's programs.

#include <windows.h>
#include <shlobj.h>

#include <cwctype>

#include <gtest/gtest.h>

#include "Paths.h"
#include "UninstallFixture.h"

namespace {

using namespace uninstall_test;

// The subfolders of folder, by name.
std::vector<std::wstring> subfolders(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

bool isBracedGuid(const std::wstring& name)
{
    if (name.size() != 38 || name.front() != L'{' || name.back() != L'}')
        return false;
    for (size_t i = 1; i < 37; ++i) {
        const wchar_t c = name[i];
        const bool hyphen = i == 9 || i == 14 || i == 19 || i == 24;
        if (hyphen ? c != L'-' : !(iswdigit(c) || (c >= L'A' && c <= L'F')))
            return false;
    }
    return true;
}

std::wstring quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::wstring binFolderWithoutBackslash()
{
    const std::wstring bin = test::binFolder();
    return bin.substr(0, bin.size() - 1);
}

TEST(UninstallEndToEnd, SilenceRestartsFromAGuidFolderAndLeavesRegistryAndShortcuts)
{
    UserStateGuard user;
    FixtureInstallation install;
    install.registerWith(user);
    // A copy left by an earlier uninstallation: emptied away before the new copy is made.
    const std::wstring stale = workFolder() + L"{00000000-0000-0000-0000-000000000000}\\";
    SHCreateDirectory(nullptr, stale.c_str());
    ASSERT_TRUE(test::writeFile(stale + L"uninstall.exe", "old"));
    LogWatch log;

    const auto result = test::runProgram(install / L"Uninstall.exe", L"-silence", 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_TRUE(waitUntilGone(install.folder(), 30000)) << "the copy empties and removes the install folder";
    ASSERT_TRUE(waitForProcessesBelow(workFolder(), 30000));

    const std::vector<std::wstring> copies = subfolders(workFolder());
    ASSERT_EQ(copies.size(), 1u) << testing::PrintToString(copies);
    EXPECT_TRUE(isBracedGuid(copies[0])) << testing::PrintToString(copies[0]);
    EXPECT_TRUE(test::fileExists(workFolder() + copies[0] + L"\\uninstall.exe"));

    const std::wstring text = log.text();
    EXPECT_NE(text.find(L"] ZorviUninstallControl::uninstall, run model is 1.\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"] para is -silencedelete -path " + quoted(install.folder()) + L"\r\n"), std::wstring::npos)
        << testing::PrintToString(text);
    EXPECT_NE(text.find(L"] ZorviUninstallControl::uninstall, run model is 3.\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"] End delete files.\r\n"), std::wstring::npos);

    EXPECT_TRUE(keyExists(kRegistryKey));
    EXPECT_TRUE(keyExists(kUninstallKey));
    EXPECT_TRUE(runValueExists());
    for (const std::wstring& shortcut : FixtureInstallation::shortcutFiles(user))
        EXPECT_TRUE(test::fileExists(shortcut)) << testing::PrintToString(shortcut);

    deleteFolderContents(workFolder());
}

TEST(UninstallEndToEnd, DeleteRemovesFilesRegistryEntriesAndShortcuts)
{
    UserStateGuard user;
    FixtureInstallation install;
    install.registerWith(user);
    for (const std::wstring& shortcut : FixtureInstallation::shortcutFiles(user))
        ASSERT_TRUE(test::fileExists(shortcut)) << testing::PrintToString(shortcut);
    // Another product of the same maker keeps the programs subfolder alive.
    const std::wstring foreign = user.programs() + L"\\Tenvale\\Other product.lnk";
    ASSERT_TRUE(test::writeFile(foreign, "link"));
    LogWatch log;

    const auto result = test::runProgram(uninstallExe(), L"-delete -path " + quoted(install.folder()), 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);

    EXPECT_FALSE(test::folderExists(install.folder()));
    EXPECT_FALSE(runValueExists());
    EXPECT_FALSE(keyExists(kRegistryKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
    EXPECT_TRUE(keyExists(L"Software\\tenvale"));
    for (const std::wstring& shortcut : FixtureInstallation::shortcutFiles(user))
        EXPECT_FALSE(test::fileExists(shortcut)) << testing::PrintToString(shortcut);
    EXPECT_TRUE(test::fileExists(foreign));

    // The tools ran from the version folder with the uninstaller's folder as working folder.
    const std::vector<std::wstring> records = user.records();
    const std::vector<std::wstring> expected = {
        L"installstat.exe\t\"|8.4.0.4|1|u|\"\t" + binFolderWithoutBackslash(),
        L"zorvirun.exe\t-unreg\t" + binFolderWithoutBackslash(),
    };
    EXPECT_EQ(records, expected);

    const std::wstring text = log.text();
    EXPECT_NE(text.find(L"] ZorviUninstallControl::uninstall, run model is 2.\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"] delete file " + install.path() + L"zorvi.dat success\r\n"), std::wstring::npos)
        << testing::PrintToString(text);
    EXPECT_NE(text.find(L"] delete file " + install.path() + L"Uninstall.exe success\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"] ZorviFileCleaner::_startZorviRun, path is " + install.path() +
                        L"8.4.0.4\\zorvirun.exe, parameter is -unreg\r\n"),
              std::wstring::npos);
}

TEST(UninstallEndToEnd, InstallstatGetsTheProductNumber)
{
    struct Case {
        const char* name;
        bool file;
        std::string firstLine;
        const wchar_t* number;
    };
    const Case cases[] = {
        {"no file", false, "", L"1"},
        {"no equals sign", true, "product 42\r\n", L"1"},
        {"zero", true, "product=0\r\n", L"1"},
        {"forty-two", true, "product= 42\r\nother=7\r\n", L"42"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UserStateGuard user;
        FixtureInstallation install;
        const std::wstring cache = getSetupCacheFolder(install.path());
        if (c.file) {
            ASSERT_TRUE(test::writeFile(cache + L"ProductInfo.txt", "\xEF\xBB\xBF" + c.firstLine));
        }
        const auto result = test::runProgram(uninstallExe(), L"-silencedelete -path " + quoted(install.folder()), 30000);
        test::removeTree(cache);
        ASSERT_TRUE(result.finished);
        const std::vector<std::wstring> records = user.records();
        ASSERT_EQ(records.size(), 2u) << testing::PrintToString(records);
        EXPECT_EQ(records[0], L"installstat.exe\t\"|8.4.0.4|" + std::wstring(c.number) + L"|u|\"\t" +
                                  binFolderWithoutBackslash());
    }
}

TEST(UninstallEndToEnd, ClientOfTheInstallFolderIsTerminatedFirstAndVersionFolderProgramsAreLeft)
{
    UserStateGuard user;
    FixtureInstallation install;
    RunningProgram client(install / L"Zorvi.exe");
    ASSERT_TRUE(client.waitForFile(install / L"Zorvi.exe.lock", 10000));
    ASSERT_TRUE(CopyFileW(stubExe().c_str(), (install / L"8.4.0.4\\helper.exe").c_str(), FALSE));
    RunningProgram helper(install / L"8.4.0.4\\helper.exe");
    ASSERT_TRUE(helper.waitForFile(install / L"8.4.0.4\\helper.exe.lock", 10000));
    LogWatch log;

    const auto result = test::runProgram(uninstallExe(), L"-silencedelete -path " + quoted(install.folder()), 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(client.waitExit(5000), 0) << "terminated with 0 (by itself it ends with 7)";
    const std::wstring text = log.text();
    // The lock is held until the client ends, so its deletion shows the termination came first.
    EXPECT_NE(text.find(L"] delete file " + install.path() + L"Zorvi.exe.lock success\r\n"), std::wstring::npos)
        << testing::PrintToString(text);
    EXPECT_FALSE(test::fileExists(install / L"Zorvi.exe"));

    EXPECT_TRUE(helper.running());
    EXPECT_TRUE(test::fileExists(install / L"8.4.0.4\\helper.exe.lock"));
    EXPECT_NE(text.find(L"] delete file " + install.path() + L"8.4.0.4\\helper.exe.lock fail, last error is "),
              std::wstring::npos);
    EXPECT_TRUE(test::folderExists(install.folder()));
    EXPECT_NE(text.find(L"] RemoveDirectory " + install.path() + L" fail, last error is "), std::wstring::npos);
}

TEST(UninstallEndToEnd, ReadOnlyFileStaysAndTheFinishIsStillReported)
{
    UserStateGuard user;
    FixtureInstallation install;
    install.registerWith(user);
    const std::wstring readOnly = install / L"res\\settings.ini";
    ASSERT_TRUE(test::writeFile(readOnly, "[zorvi]"));
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    LogWatch log;

    const auto result = test::runProgram(uninstallExe(), L"-delete -path " + quoted(install.folder()), 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(test::fileExists(readOnly));
    EXPECT_NE(log.text().find(L"] delete file " + readOnly + L" fail, last error is 5\r\n"), std::wstring::npos)
        << testing::PrintToString(log.text());
    EXPECT_TRUE(test::folderExists(install.folder()));
    EXPECT_FALSE(test::fileExists(install / L"zorvi.dat"));
    // The finish report removes the registry entries and shortcuts.
    EXPECT_FALSE(keyExists(kRegistryKey));
    EXPECT_FALSE(test::fileExists(user.desktop() + L"\\Zorvi语音.lnk"));
}

TEST(UninstallEndToEnd, DeleteStartedFromTheInstallFolderDoesNotTerminateItself)
{
    UserStateGuard user;
    FixtureInstallation install;
    LogWatch log;
    const auto result =
        test::runProgram(install / L"Uninstall.exe", L"-silencedelete -path " + quoted(install.folder()), 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(log.text().find(L"] End delete files.\r\n"), std::wstring::npos) << testing::PrintToString(log.text());
    EXPECT_FALSE(test::fileExists(install / L"zorvi.dat"));
}

} // namespace

namespace {

using namespace uninstall_test;

// The installer's silent run lays out the installation; the uninstaller removes all of it.
TEST(UninstallEndToEnd, InstallationMadeByTheInstallerIsRemoved)
{
    UserStateGuard user;
    test::TempFolder root(L"real");
    const std::wstring folder = root / L"Zorvi";
    const auto installed = test::runProgram(test::binFolder() + L"ZorviSetup.exe", L"-silence " + quoted(folder), 120000);
    ASSERT_TRUE(installed.finished);
    ASSERT_EQ(installed.exitCode, 0);
    ASSERT_TRUE(test::fileExists(folder + L"\\Uninstall.exe"));
    ASSERT_TRUE(keyExists(kRegistryKey));
    ASSERT_TRUE(keyExists(kUninstallKey));
    std::vector<std::wstring> created;
    for (const std::wstring& shortcut : FixtureInstallation::shortcutFiles(user))
        if (test::fileExists(shortcut))
            created.push_back(shortcut);
    ASSERT_GE(created.size(), 4u) << "the installer's shortcuts land in the redirected user folders";

    const auto removed = test::runProgram(uninstallExe(), L"-delete -path " + quoted(folder), 60000);
    ASSERT_TRUE(removed.finished);
    EXPECT_EQ(removed.exitCode, 0);
    EXPECT_FALSE(test::folderExists(folder));
    EXPECT_FALSE(keyExists(kRegistryKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
    EXPECT_TRUE(keyExists(L"Software\\tenvale"));
    for (const std::wstring& shortcut : created)
        EXPECT_FALSE(test::fileExists(shortcut)) << testing::PrintToString(shortcut);
    test::removeTree(getDataFolder() + L"setup\\" + pathDigest(folder));
}

} // namespace
