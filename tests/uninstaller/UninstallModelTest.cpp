// The run model chosen from the command line, and the folders the uninstaller refuses to empty.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "Paths.h"
#include "ProtectedFolders.h"
#include "UninstallFixture.h"

namespace {

using namespace uninstall_test;

std::wstring quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

TEST(UninstallModel, CommandLinesAsTable)
{
    UserStateGuard user;
    struct Case {
        const wchar_t* name;
        std::wstring (*arguments)(const std::wstring& target);  // target: an existing folder
        int model;
    };
    const Case cases[] = {
        {L"silence", [](const std::wstring&) { return std::wstring(L"-silence"); }, 1},
        {L"silence beats delete",
         [](const std::wstring& t) { return L"-delete -path " + quoted(t) + L" -silence"; }, 1},
        {L"delete", [](const std::wstring& t) { return L"-delete -path " + quoted(t); }, 2},
        {L"path= form", [](const std::wstring& t) { return L"-delete -path=" + t; }, 2},
        {L"silencedelete", [](const std::wstring& t) { return L"-silencedelete -path " + quoted(t); }, 3},
        {L"path missing", [](const std::wstring&) { return std::wstring(L"-delete -path"); }, 0},
        {L"path empty", [](const std::wstring&) { return std::wstring(L"-silencedelete -path \"\""); }, 0},
        {L"path does not exist", [](const std::wstring& t) { return L"-delete -path " + quoted(t + L"\\missing"); }, 0},
        {L"switches are case-sensitive", [](const std::wstring& t) { return L"-Delete -path " + quoted(t); }, 0},
        {L"path alone", [](const std::wstring& t) { return L"-path " + quoted(t); }, 0},
        {L"no switch", [](const std::wstring&) { return std::wstring(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        // The program runs from an install folder of its own, which models 1 to 3 may remove.
        FixtureInstallation install;
        test::TempFolder target(L"target");
        ASSERT_TRUE(test::writeFile(target / L"canary.txt", "canary"));
        const std::wstring targetFolder = target.path().substr(0, target.path().size() - 1);
        LogWatch log;

        const auto result = test::runProgram(install / L"Uninstall.exe", c.arguments(targetFolder), 30000);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0);
        if (c.model == 1) {
            EXPECT_TRUE(waitUntilGone(install.folder(), 30000)) << "the copy removes the program's own folder";
            EXPECT_TRUE(waitForProcessesBelow(workFolder(), 30000));
            deleteFolderContents(workFolder());
        }
        test::removeTree(getSetupCacheFolder(targetFolder));
        const std::wstring text = log.text();
        EXPECT_NE(text.find(L"] ZorviUninstallControl::uninstall, run model is " + std::to_wstring(c.model) +
                            L".\r\n"),
                  std::wstring::npos)
            << testing::PrintToString(text);
        const bool targetRemoved = c.model == 2 || c.model == 3;
        EXPECT_EQ(test::fileExists(target / L"canary.txt"), !targetRemoved);
        EXPECT_EQ(test::folderExists(install.folder()), c.model != 1);
    }
}

TEST(UninstallModel, ProtectedFoldersAreRefused)
{
    UserStateGuard user;
    // A folder that holds the user's documents folder.
    test::TempFolder holder(L"holder");
    user.setDocuments(holder.path() + L"Documents");
    wchar_t windows[MAX_PATH] = {};
    wchar_t profile[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, windows, CSIDL_WINDOWS, FALSE));
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, profile, CSIDL_PROFILE, FALSE));
    const std::wstring canaryName = L"zorvi-canary-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    struct Case {
        std::wstring folder;
        std::wstring arguments;
    };
    const std::wstring holderFolder = holder.path().substr(0, holder.path().size() - 1);
    const Case cases[] = {
        {L"C:\\", L"-delete -path \"C:\\\""},
        {L"C:\\", L"-silencedelete -path C:"},
        {windows, L"-delete -path " + quoted(windows)},
        {profile, L"-silencedelete -path " + quoted(profile)},
        {holderFolder, L"-delete -path " + quoted(holderFolder)},
        {holderFolder, L"-silencedelete -path " + quoted(holderFolder + L"\\Documents\\..\\")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        // Never run the program on a folder that the check itself would let through.
        ASSERT_TRUE(isProtectedFolder(c.folder));
        std::wstring canary = c.folder;
        if (canary.back() != L'\\')
            canary += L'\\';
        canary += canaryName;
        ASSERT_TRUE(test::writeFile(canary, "canary"));
        LogWatch log;
        const auto result = test::runProgram(uninstallExe(), c.arguments, 30000);
        const bool survived = test::fileExists(canary);
        DeleteFileW(canary.c_str());
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(survived);
        EXPECT_NE(log.text().find(L" is a protected folder, nothing is removed.\r\n"), std::wstring::npos)
            << testing::PrintToString(log.text());
        EXPECT_EQ(log.text().find(L"ZorviFileCleaner::execute begin."), std::wstring::npos);
    }
    EXPECT_TRUE(test::folderExists(holder.path() + L"Documents"));
}

TEST(UninstallModel, ProgramInAProtectedFolderDoesNotRestart)
{
    UserStateGuard user;
    test::TempFolder holder(L"holder");
    user.setDocuments(holder.path() + L"Documents");
    ASSERT_TRUE(isProtectedFolder(holder.path()));
    ASSERT_TRUE(CopyFileW(uninstallExe().c_str(), (holder / L"Uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(test::writeFile(holder / L"canary.txt", "canary"));
    for (const wchar_t* arguments : {L"-silence", L""}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(arguments)));
        LogWatch log;
        const auto result = test::runProgram(holder / L"Uninstall.exe", arguments, 30000);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(log.text().find(L"] ZorviUninstallControl::_initPath, " + holder.path() +
                                  L" is a protected folder, nothing is removed.\r\n"),
                  std::wstring::npos)
            << testing::PrintToString(log.text());
        EXPECT_EQ(log.text().find(L"] para is "), std::wstring::npos) << "no copy is started";
        EXPECT_TRUE(test::fileExists(holder / L"canary.txt"));
    }
}

} // namespace
