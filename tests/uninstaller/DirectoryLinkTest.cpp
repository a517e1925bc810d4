// Recursive deletion removes a directory link inside the folder but never what it points to. The
// links are made from the host side before this test runs (make-link-fixture.sh), because Wine's
// CreateSymbolicLinkW makes nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include "Paths.h"
#include "UninstallFixture.h"

namespace {

using namespace uninstall_test;

const wchar_t kFixture[] = L"C:\\zorvi-link-fixture\\";

// Wine 8 shows a Unix symbolic link as a directory link but cannot remove it through Win32 at all
// (RemoveDirectoryW, DeleteFileW and delete-on-close all leave it), so there only the target's
// safety is checked.
bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool isDirectoryLink(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

class DirectoryLink : public testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring fixture = kFixture;
        if (!isDirectoryLink(fixture + L"install\\linked") || !isDirectoryLink(fixture + L"contents\\linked"))
            GTEST_SKIP() << "no directory links made from the host side (make-link-fixture.sh)";
        ASSERT_TRUE(test::fileExists(fixture + L"install\\linked\\keep.txt")) << "the link leads outside";
        // Each test empties its own area; make-link-fixture.sh removes the whole fixture afterwards.
    }
};

TEST_F(DirectoryLink, CleanerRemovesTheLinkButNotItsTarget)
{
    UserStateGuard user;
    const std::wstring fixture = kFixture;
    const auto result = test::runProgram(uninstallExe(), L"-silencedelete -path \"" + fixture + L"install\"", 30000);
    test::removeTree(getSetupCacheFolder(fixture + L"install"));
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(test::fileExists(fixture + L"outside\\keep.txt"));
    EXPECT_FALSE(test::fileExists(fixture + L"install\\file.txt"));
    if (!runningUnderWine()) {
        EXPECT_FALSE(isDirectoryLink(fixture + L"install\\linked"));
    }
}

TEST_F(DirectoryLink, DeleteFolderContentsRemovesTheLinkButNotItsTarget)
{
    const std::wstring fixture = kFixture;
    deleteFolderContents(fixture + L"contents");
    EXPECT_TRUE(test::fileExists(fixture + L"outside\\keep.txt"));
    EXPECT_FALSE(test::fileExists(fixture + L"contents\\file.txt"));
    if (!runningUnderWine()) {
        EXPECT_FALSE(isDirectoryLink(fixture + L"contents\\linked"));
    }
    EXPECT_TRUE(test::folderExists(fixture + L"contents"));
}

} // namespace
