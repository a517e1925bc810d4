// End to end: silent installations of the sample payload by the built ZorviSetup.exe.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "InstallerFixtures.h"
#include "Paths.h"

namespace {

// Every file of the staged payload tree lies at its mapped place with identical bytes.
void expectPayloadInstalled(const std::wstring& installPath)
{
    const std::wstring tree = test::payloadTree();
    ASSERT_FALSE(tree.empty());
    const std::wstring appDataTarget = getSetupCacheFolder(installPath);
    size_t compared = 0;
    for (const auto& [root, target] : {std::pair{std::wstring(L"InstallDir\\"), installPath},
                                       std::pair{std::wstring(L"AppData\\"), appDataTarget}}) {
        for (const std::wstring& file : test::listFiles(tree + root)) {
            EXPECT_EQ(test::readFile(target + file), test::readFile(tree + root + file)) << testing::PrintToString(file);
            ++compared;
        }
    }
    EXPECT_GT(compared, 5u);
}


class SilentInstall : public testing::Test {
protected:
    void SetUp() override
    {
        if (test::payloadTree().empty())
            GTEST_SKIP() << "the build packed another client than the sample";
    }
    void TearDown() override { test::removeCacheFolders(m_install); }

    test::ProcessResult install(const std::wstring& program = test::setupExe())
    {
        return test::runProgram(program, L"-silence \"" + m_install + L"\"", 120000);
    }

    test::TempFolder m_root{L"silent"};
    std::wstring m_install = m_root / L"My Zorvi\\";
};

TEST_F(SilentInstall, FreshFolderGetsEveryItemWithIdenticalBytes)
{
    const auto result = install();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    expectPayloadInstalled(m_install);
}

TEST_F(SilentInstall, ReinstallReplacesRecordedVersionFolders)
{
    ASSERT_TRUE(test::makeFile(m_install + L"Launcher.xml",
             "<LauncherInfo><VersionInfo zorviPath=\"8.6.0.2\"/><VersionInfo zorviPath=\"8.7.0.1\"/></LauncherInfo>"));
    ASSERT_TRUE(test::makeFile(m_install + L"8.6.0.2\\old.dll"));
    ASSERT_TRUE(test::makeFile(m_install + L"8.7.0.1\\stale.txt"));
    ASSERT_TRUE(test::makeFile(m_install + L"8.7.0.1\\resources\\strings.txt", "old strings"));
    ASSERT_TRUE(test::makeFile(m_install + L"oem.txt"));

    const auto result = install();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(test::folderExists(m_install + L"8.6.0.2"));
    EXPECT_FALSE(test::fileExists(m_install + L"8.7.0.1\\stale.txt"));
    EXPECT_FALSE(test::fileExists(m_install + L"oem.txt"));
    expectPayloadInstalled(m_install);
}

TEST_F(SilentInstall, FileHeldOpenIsMovedToOldName)
{
    ASSERT_TRUE(test::makeFile(m_install + L"Launcher.xml", "held launcher record"));
    ASSERT_TRUE(test::makeFile(m_install + L"Launcher.xml.old", "older record"));
    UniqueFileHandle held(CreateFileW((m_install + L"Launcher.xml").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const auto result = install();
    held.reset();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(test::readFile(m_install + L"Launcher.xml.old"), "held launcher record");
    expectPayloadInstalled(m_install);
}

TEST_F(SilentInstall, BadArchivesExitMinus5AndWriteNothingOutside)
{
    const std::string payload = test::readFile(test::payloadArchive());
    std::string corrupted = payload;
    corrupted[payload.size() / 3] ^= 0x5A;
    const std::wstring fixtures = test::binFolder() + L"test-archives\\";
    const std::pair<const char*, std::string> cases[] = {
        {"truncated", payload.substr(0, payload.size() / 2)},
        {"corrupted packed byte", corrupted},
        {"item climbing out with ..", test::readFile(fixtures + L"traversal.7z")},
        {"item with an absolute path", test::readFile(fixtures + L"absolute.7z")},
    };
    for (const auto& [name, archive] : cases) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(archive.empty());
        test::TempFolder work(L"bad");
        const std::wstring installer = test::installerWithPayload(work.path(), archive);
        ASSERT_FALSE(installer.empty()) << "UpdateResourceW failed";
        const std::wstring target = work / L"a\\b\\Zorvi\\";
        const auto result = test::runProgram(installer, L"-silence \"" + target + L"\"", 120000);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, -5);
        EXPECT_FALSE(test::fileExists(work / L"a\\outside.txt"));
        EXPECT_FALSE(test::fileExists(work / L"outside.txt"));
        EXPECT_EQ(test::listFiles(work.path()), std::vector<std::wstring>{L"ZorviSetup.exe"})
            << "no file of a rejected or damaged archive is written";
        test::removeCacheFolders(target);
    }
}

} // namespace
