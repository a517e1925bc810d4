// End to end: the built ZorviSetup.exe, run as a user would run it.

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "Paths.h"
#include "TestSupport.h"
#include "ZorviSetupChecker.h"

namespace {

std::wstring setupExe()
{
    return test::binFolder() + L"ZorviSetup.exe";
}

std::wstring logPath()
{
    return getDataFolder() + L"setup\\setupV2.log";
}


// The text the log gained since offset (in characters).
std::wstring logSince(size_t offset)
{
    const std::wstring text = test::readUtf16File(logPath());
    return offset < text.size() ? text.substr(offset) : std::wstring();
}

size_t logLength()
{
    return test::readUtf16File(logPath()).size();
}

bool keyExists(const wchar_t* subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class SilentSetup : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::fileExists(setupExe()));
        m_logStart = logLength();
    }
    std::wstring newLog() const { return logSince(m_logStart); }

    size_t m_logStart = 0;
};

TEST_F(SilentSetup, PathOnMissingDriveExitsMinus3AndWritesOnlyTheLog)
{
    const std::wstring drive = test::missingDrive();
    ASSERT_FALSE(drive.empty());
    const std::wstring data = getDataFolder();
    std::vector<std::wstring> before = test::listFiles(data);
    const bool hadRegistry = keyExists(L"Software\\tenvale\\zorvi");

    const auto result = test::runProgram(setupExe(), L"-silence " + drive + L"Games\\Zorvi");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -3);

    std::vector<std::wstring> after = test::listFiles(data);
    before.erase(std::remove(before.begin(), before.end(), L"setup\\setupV2.log"), before.end());
    after.erase(std::remove(after.begin(), after.end(), L"setup\\setupV2.log"), after.end());
    EXPECT_EQ(after, before) << "nothing but the log is written";
    EXPECT_EQ(keyExists(L"Software\\tenvale\\zorvi"), hadRegistry);

    const std::wstring log = newLog();
    EXPECT_NE(log.find(L"Setup start, command line is -silence " + drive + L"Games\\Zorvi"), std::wstring::npos)
        << testing::PrintToString(log);
    EXPECT_NE(log.find(L"] ZorviSetupControl::startSetup, install model is 1.\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"] Check step finish, return [CR_Success].\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"] Quit application, exit code is -3\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"end install----"), std::wstring::npos);
}

TEST_F(SilentSetup, SecondInstallerWhileMutexIsHeldExitsMinus1)
{
    // This test process plays the first installer: it holds the single-instance mutex.
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, ZorviSetupChecker::kMutexName));
    ASSERT_TRUE(mutex);
    test::TempFolder target(L"inst");
    const auto result = test::runProgram(setupExe(), L"-silence \"" + target.path() + L"\"");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -1);
    EXPECT_TRUE(test::listFiles(target.path()).empty());
    EXPECT_NE(newLog().find(L"] Check step, _isSetupExist return false [CR_SetupExist].\r\n"), std::wstring::npos);
}

TEST_F(SilentSetup, PathFormsSelectTheInstallFolder)
{
    // The log shows the path each form selects.
    test::TempFolder target(L"games");
    test::TempFolder blanks(L"my games");
    struct Case {
        std::wstring arguments;
        std::wstring expectedPath;  // empty: the initial setup path
    };
    const Case cases[] = {
        {L"-silence=" + target.path() + L"eq", target.path() + L"eq"},
        {L"-silence \"" + blanks.path() + L"quoted dir\"", blanks.path() + L"quoted dir"},
        {L"-silence", L""},
        {L"-silence \"\"", L""},
        {L"-Silence " + test::missingDrive(), L"normal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const size_t start = logLength();
        const auto result = test::runProgram(setupExe(), c.arguments);
        ASSERT_TRUE(result.finished);
        const std::wstring log = logSince(start);
        if (c.expectedPath == L"normal") {
            EXPECT_EQ(result.exitCode, 0);
            EXPECT_NE(log.find(L"install model is 0."), std::wstring::npos);
            continue;
        }
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(log.find(L"install model is 1."), std::wstring::npos);
        if (c.expectedPath.empty()) {
            EXPECT_NE(log.find(L"] Initialized setup path is "), std::wstring::npos) << testing::PrintToString(log);
        } else {
            EXPECT_EQ(log.find(L"Initialized setup path"), std::wstring::npos);
            EXPECT_TRUE(test::fileExists(c.expectedPath + L"\\Launcher.xml"));
        }
        EXPECT_NE(log.find(L"Quit application, exit code is 0"), std::wstring::npos);
    }
}

TEST_F(SilentSetup, NormalModelEndsAfterTheCheckWithZero)
{
    const auto result = test::runProgram(setupExe(), L"");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    const std::wstring log = newLog();
    EXPECT_NE(log.find(L"install model is 0."), std::wstring::npos);
    EXPECT_NE(log.find(L"] Async check environment.\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"] Check result is CR_Success, and then prepare to decompress.\r\n"), std::wstring::npos);
}

TEST_F(SilentSetup, HostileInputNeitherCrashesNorHangs)
{
    // The longest command line CreateProcess takes.
    const std::wstring huge = L"-silence " + std::wstring(32000, L'x');
    auto result = test::runProgram(setupExe(), huge, 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -3);

    result = test::runProgram(setupExe(), L"-silence \"unterminated " + std::wstring(1000, L'=') + L" -silence", 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -3);
}

// RootPath lives in the user's real key; the test restores what was there.
class RootPathValue : public SilentSetup {
protected:
    void SetUp() override
    {
        SilentSetup::SetUp();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\tenvale\\zorvi", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, m_key.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD size = sizeof m_saved;
        m_hadValue = RegQueryValueExW(m_key.get(), L"RootPath", nullptr, &m_savedType, m_saved, &size) == ERROR_SUCCESS;
        m_savedSize = size;
    }
    void TearDown() override
    {
        if (m_hadValue)
            RegSetValueExW(m_key.get(), L"RootPath", 0, m_savedType, m_saved, m_savedSize);
        else
            RegDeleteValueW(m_key.get(), L"RootPath");
    }
    UniqueRegKey m_key;
    bool m_hadValue = false;
    DWORD m_savedType = 0;
    BYTE m_saved[4096] = {};
    DWORD m_savedSize = 0;
};

TEST_F(RootPathValue, MalformedValuesFallBackToProgramFiles)
{
    const DWORD dword = 0x00440043;
    const std::wstring text = L"Q:\\NoTerminator";
    struct Case {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
    };
    const Case cases[] = {
        {"REG_DWORD", REG_DWORD, &dword, sizeof dword},
        {"REG_SZ without terminator", REG_SZ, text.data(), static_cast<DWORD>(text.size() * 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(RegSetValueExW(m_key.get(), L"RootPath", 0, c.type, static_cast<const BYTE*>(c.data), c.size),
                  ERROR_SUCCESS);
        const size_t start = logLength();
        const auto result = test::runProgram(setupExe(), L"-silence");
        ASSERT_TRUE(result.finished);
        const std::wstring log = logSince(start);
        if (c.type == REG_DWORD) {
            EXPECT_EQ(result.exitCode, 0);
            EXPECT_NE(log.find(L"\\tenvale\\zorvi\r\n"), std::wstring::npos) << testing::PrintToString(log);
        } else {
            EXPECT_EQ(result.exitCode, -3) << "the value is used as it stands, and its drive is missing";
            EXPECT_NE(log.find(L"] Initialized setup path is Q:\\NoTerminator\r\n"), std::wstring::npos)
                << testing::PrintToString(log);
        }
    }
}

TEST_F(SilentSetup, UnavailableLogFolderDoesNotStopTheRun)
{
    const std::wstring setupFolder = getDataFolder() + L"setup";
    const std::wstring aside = getDataFolder() + L"setup-aside-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(MoveFileW(setupFolder.c_str(), aside.c_str()));
    // A file in the folder's place: the log can neither create the folder nor open the file.
    ASSERT_TRUE(test::writeFile(setupFolder, "blocker"));
    const auto result = test::runProgram(setupExe(), L"-silence " + test::missingDrive());
    DeleteFileW(setupFolder.c_str());
    ASSERT_TRUE(MoveFileW(aside.c_str(), setupFolder.c_str()));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -3);
}

} // namespace
