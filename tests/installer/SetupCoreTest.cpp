#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "InitialSetupPath.h"
#include "TestSupport.h"
#include "ZorviSetupControl.h"
#include "ZorviSetupCore.h"
#include "ZorviSetupDecompressor.h"

namespace {

std::wstring programFilesDefault()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    return std::wstring(folder) + L"\\tenvale\\zorvi";
}

TEST(SetupCore, InstallPathGetsBackslashAndDefaultFolderBelowDriveRoot)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"D:", L"D:\\tenvale\\zorvi\\"},
        {L"D:\\", L"D:\\tenvale\\zorvi\\"},
        {L"D:\\Games", L"D:\\Games\\"},
        {L"D:\\Games\\", L"D:\\Games\\"},
        {L"", L""},
        {L"ab", L"ab\\tenvale\\zorvi\\"},  // any three characters count as a drive root
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ZorviSetupCore::normalizeInstallPath(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(SetupCore, SetSetupPathReachesControllerCoreAndExtractionTask)
{
    ZorviSetupControl control;
    control.setSetupPath(L"E:");
    EXPECT_EQ(control.setupPath(), L"E:");
    EXPECT_EQ(control.core().installPath(), L"E:\\tenvale\\zorvi\\");
}

struct RootPathCase {
    const char* name;
    DWORD type;
    std::string data;  // raw bytes; empty name = no value
    bool useValue;
};

std::string wideBytes(const std::wstring& text, bool terminator)
{
    std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + (terminator ? 1 : 0)) * 2);
    return bytes;
}

TEST(SetupCore, InitialSetupPathFromRootPathValue)
{
    const std::wstring custom = L"D:\\Games\\Zorvi";
    const RootPathCase cases[] = {
        {"absent", REG_NONE, "", false},
        {"present", REG_SZ, wideBytes(custom, true), true},
        {"without terminator", REG_SZ, wideBytes(custom, false), true},
        {"bare drive root", REG_SZ, wideBytes(L"C:\\", true), false},
        {"empty", REG_SZ, wideBytes(L"", true), false},
        {"dword", REG_DWORD, std::string("\x43\x00\x44\x00", 4), false},
        {"binary looking like text", REG_BINARY, wideBytes(L"E:\\Binary\\Junk", true), false},
        {"too long for the buffer", REG_SZ, wideBytes(std::wstring(1500, L'x'), true), false},
    };
    for (const RootPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestRegistryKey root;
        if (c.type != REG_NONE) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExW(root.get(), L"Software\\tenvale\\zorvi", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                      &key, nullptr),
                      ERROR_SUCCESS);
            RegSetValueExW(key, L"RootPath", 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                           static_cast<DWORD>(c.data.size()));
            RegCloseKey(key);
        }
        EXPECT_EQ(initialSetupPath(root.get()), c.useValue ? custom : programFilesDefault());
    }
}

TEST(SetupCore, RuntimeAssemblyWaitReturnsWithoutThread)
{
    ZorviSetupControl control;
    control.core().waitInstallCrt(2000);  // nothing started: returns at once
    control.core().startInstallCrt();
    control.core().waitInstallCrt(2000);
}

} // namespace
