// The runtime-assembly thread as the controller drives it: started when extraction begins in the
// normal model, never in the silent one, and ended by quitSetup when it takes too long.

#include <windows.h>

#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "AssemblyTestSupport.h"
#include "InstallAssembly.h"
#include "TestSupport.h"
#include "ZorviSetupControl.h"
#include "ZorviSetupCore.h"

namespace {

// Replaces the assembly cache that new CInstallAssembly objects use, for the test's lifetime.
class ScopedDefaultCache {
public:
    explicit ScopedDefaultCache(test::FakeAssemblyCache* cache)
        : m_previous(CInstallAssembly::setDefaultCreateAssemblyCache(&test::FakeAssemblyCache::create))
    {
        cache->install();
    }
    ~ScopedDefaultCache() { CInstallAssembly::setDefaultCreateAssemblyCache(m_previous); }
    ScopedDefaultCache(const ScopedDefaultCache&) = delete;
    ScopedDefaultCache& operator=(const ScopedDefaultCache&) = delete;

private:
    CInstallAssembly::CreateAssemblyCacheProc m_previous;
};

// An install folder holding the client executable and the sample runtime folder.
std::wstring prepareInstallFolder(const test::TempFolder& temp)
{
    test::copySampleRuntime(temp.path());
    test::writeFile(temp / L"zorvi.exe", "MZ");
    return temp.path();
}

// The WM_QUIT codes posted to this thread so far.
std::vector<int> takeQuitCodes()
{
    std::vector<int> codes;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        codes.push_back(static_cast<int>(msg.wParam));
    return codes;
}

TEST(RuntimeAssemblyThread, StartsOncePerExtractionInTheNormalModelOnly)
{
    struct Case {
        const char* name;
        bool silent;
    };
    const Case cases[] = {{"normal model", false}, {"silent model", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder temp(L"crt");
        const std::wstring installPath = prepareInstallFolder(temp);
        test::FakeAssemblyCache cache;
        ScopedDefaultCache defaultCache(&cache);
        test::ScopedLog log;
        {
            ZorviSetupControl control;
            if (c.silent) {
                // A path on a drive that cannot exist: the silent run stops before extracting.
                control.startSetup(L"ZorviSetup.exe -silence ?:\\Zorvi");
                ASSERT_TRUE(control.silent());
                EXPECT_EQ(takeQuitCodes(), std::vector<int>{-3});
            }
            control.setSetupPath(installPath);
            control.onDecompressBegin();
            control.onDecompressBegin();  // a second report of the same extraction
            control.core().waitInstallCrt(30000);
        }
        const int runs = c.silent ? 0 : 1;
        EXPECT_EQ(log.count(L"] ----------------begin install crt----------------------\r\n"), runs);
        EXPECT_EQ(log.count(L"] ZorviSetupCore::_installCrt, installAsm return-value is 0.\r\n"), runs);
        EXPECT_EQ(log.count(L"] ----------------end install crt----------------------\r\n"), runs);
        EXPECT_EQ(cache.calls().size(), c.silent ? 0u : 2u);
        if (!c.silent) {
            EXPECT_EQ(cache.calls()[0].path, installPath + L"Microsoft.VC90.CRT\\Microsoft.VC90.CRT.manifest");
            EXPECT_EQ(cache.calls()[0].identifier, installPath + L"zorvi.exe");
        }
    }
}

TEST(RuntimeAssemblyThread, FirstInstallationFindsNoRuntimeFolderYet)
{
    test::TempFolder temp(L"crt");
    test::ScopedLog log;
    {
        ZorviSetupControl control;
        control.setSetupPath(temp.path());
        control.onDecompressBegin();
        control.core().waitInstallCrt(30000);
    }
    EXPECT_EQ(log.count(L"] [installAsm] check fail\r\n"), 1);
    EXPECT_EQ(log.count(L"] ZorviSetupCore::_installCrt, installAsm return-value is -1.\r\n"), 1);
    EXPECT_EQ(GetModuleHandleW(L"sxs.dll"), nullptr);
}

// quitSetup from the finish page, or the controller going away when the last window closed: either
// way a hanging thread gets about two seconds and is then ended.
TEST(RuntimeAssemblyThread, AHangingThreadIsEndedAfterTwoSeconds)
{
    const char* cases[] = {"quitSetup", "controller destroyed"};
    for (const char* how : cases) {
        SCOPED_TRACE(how);
        const bool quit = how == cases[0];
        test::TempFolder temp(L"crt");
        const std::wstring installPath = prepareInstallFolder(temp);
        UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        UniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        // Leaked on purpose: the terminated thread never releases its reference.
        auto* cache = new test::FakeAssemblyCache();
        cache->setGate(entered.get(), gate.get());
        ScopedDefaultCache defaultCache(cache);
        test::ScopedLog log;

        auto control = std::make_unique<ZorviSetupControl>();
        control->setSetupPath(installPath);
        control->onDecompressBegin();
        ASSERT_EQ(WaitForSingleObject(entered.get(), 30000), WAIT_OBJECT_0) << "the thread reached the cache";

        const ULONGLONG start = GetTickCount64();
        if (quit)
            control->quitSetup();
        else
            control.reset();
        const ULONGLONG waited = GetTickCount64() - start;
        std::printf("%s returned after %llu ms\n", how, waited);
        EXPECT_GE(waited, 1900u) << "it waits for the thread first";
        EXPECT_LT(waited, 20000u) << "and not without limit";

        ASSERT_NE(cache->callerThread(), nullptr);
        EXPECT_EQ(WaitForSingleObject(cache->callerThread(), 5000), WAIT_OBJECT_0) << "the thread is gone";
        DWORD exitCode = 1;
        GetExitCodeThread(cache->callerThread(), &exitCode);
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(takeQuitCodes(), quit ? std::vector<int>{0} : std::vector<int>{});
        EXPECT_EQ(log.contains(L"] Quit application, exit code is 0\r\n"), quit);
        EXPECT_TRUE(log.contains(L"] ZorviSetupCore::waitInstallCrt, runtime-assembly thread still runs, terminate it.\r\n"));
        EXPECT_FALSE(log.contains(L"end install crt"));
        SetEvent(gate.get());
        control.reset();
    }
}

} // namespace
