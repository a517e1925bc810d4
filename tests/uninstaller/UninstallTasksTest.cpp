// The uninstaller's tasks and bridge in this process: the file cleaner's progress steps and finish
// report, the running-client check, and the bridge's posts while no window exists.

#include <windows.h>

#include <atomic>
#include <mutex>

#include <gtest/gtest.h>

#include "Paths.h"
#include "UninstallFixture.h"
#include "ZorviFileCleaner.h"
#include "ZorviUninstallChecker.h"
#include "ZorviUninstallUI.h"

namespace {

using namespace uninstall_test;

class RecordingSink final : public IUninstallControlSink {
public:
    struct Step {
        std::wstring name;
        int done;
        int total;
    };
    void onClientRunning() override { ++clientRunning; }
    void onCheckPassed() override { ++checkPassed; }
    void onCleanProgress(const std::wstring& name, int done, int total) override
    {
        std::lock_guard<std::mutex> guard(lock);
        steps.push_back({name, done, total});
    }
    void onCleanFinish() override { ++finished; }

    std::atomic<int> clientRunning{0};
    std::atomic<int> checkPassed{0};
    std::atomic<int> finished{0};
    std::mutex lock;
    std::vector<Step> steps;
};

TEST(FileCleaner, ReportsEveryStepAgainstTotal200AndTheFinish)
{
    test::TempFolder install(L"clean");
    for (const wchar_t* name : {L"a.dll", L"b.dat", L"c.txt"})
        ASSERT_TRUE(test::writeFile(install / name, "x"));
    RecordingSink sink;
    ZorviFileCleaner cleaner;
    cleaner.setSink(&sink);
    cleaner.setPath(install.path());
    LogWatch log(L"setupV2.log");

    ASSERT_TRUE(cleaner.start(0, false));
    cleaner.wait();

    ASSERT_EQ(sink.steps.size(), 6u);
    const std::wstring names[] = {install / L"UnInstall.exe", install / L"8.4.0.4\\installstat.exe",
                                  install / L"8.4.0.4\\zorvirun.exe"};
    for (size_t i = 0; i < sink.steps.size(); ++i) {
        SCOPED_TRACE(i);
        if (i < 3)
            EXPECT_EQ(sink.steps[i].name, names[i]);
        else
            EXPECT_EQ(sink.steps[i].name.substr(0, install.path().size()), install.path());
        EXPECT_EQ(sink.steps[i].done, sink.steps[0].done + static_cast<int>(i)) << "one process-wide counter";
        EXPECT_EQ(sink.steps[i].total, 200);
    }
    EXPECT_EQ(sink.finished.load(), 1);
    EXPECT_FALSE(test::folderExists(install.path()));
    test::removeTree(getSetupCacheFolder(install.path()));
    const std::wstring text = log.text();
    size_t failures = 0;
    for (size_t at = text.find(L"] runExeFile, CreateProcess return false, last error is "); at != std::wstring::npos;
         at = text.find(L"] runExeFile, CreateProcess return false, last error is ", at + 1))
        ++failures;
    EXPECT_EQ(failures, 2u) << "neither tool exists";
    EXPECT_NE(text.find(L"] delete file " + install.path() + L"b.dat success\r\n"), std::wstring::npos)
        << testing::PrintToString(text);
}

TEST(FileCleaner, EmptyPathDeletesNothingAndReportsNoFinish)
{
    RecordingSink sink;
    ZorviFileCleaner cleaner;
    cleaner.setSink(&sink);
    LogWatch log(L"setupV2.log");
    cleaner.setPath(L"");
    cleaner.execute();
    EXPECT_EQ(sink.finished.load(), 0);
    EXPECT_NE(log.text().find(L"] ZorviFileCleaner::setPath, path is empty.\r\n"), std::wstring::npos);
    EXPECT_NE(log.text().find(L"] Exception case.\r\n"), std::wstring::npos);
}

TEST(UninstallChecker, FindsOnlyTheClientOfTheInstallFolder)
{
    test::TempFolder install(L"client");
    test::TempFolder other(L"other");
    ASSERT_TRUE(CopyFileW(stubExe().c_str(), (install / L"Zorvi.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(stubExe().c_str(), (other / L"zorvi.exe").c_str(), FALSE));
    ZorviUninstallChecker checker;

    checker.setPath(install.path());
    EXPECT_FALSE(checker.isClientRunning());
    {
        RunningProgram client(install / L"Zorvi.exe");
        ASSERT_TRUE(client.waitForFile(install / L"Zorvi.exe.lock", 10000));
        struct Case {
            std::wstring path;
            bool found;
        };
        std::wstring upper = install.path();
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        const Case cases[] = {
            {install.path(), true},
            {upper, true},  // the folder is compared without regard to letter case
            {other.path(), false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::PrintToString(c.path));
            checker.setPath(c.path);
            EXPECT_EQ(checker.isClientRunning(), c.found);
        }
    }
    // The executable name itself must match exactly.
    RunningProgram lowerCase(other / L"zorvi.exe");
    ASSERT_TRUE(lowerCase.waitForFile(other / L"zorvi.exe.lock", 10000));
    checker.setPath(other.path());
    EXPECT_FALSE(checker.isClientRunning());
}

TEST(UninstallChecker, PassReportsRunningClientThenWaitsForStop)
{
    test::TempFolder install(L"client");
    ASSERT_TRUE(CopyFileW(stubExe().c_str(), (install / L"Zorvi.exe").c_str(), FALSE));
    RecordingSink sink;
    ZorviUninstallChecker checker;
    checker.setSink(&sink);
    checker.setPath(install.path());
    {
        RunningProgram client(install / L"Zorvi.exe");
        ASSERT_TRUE(client.waitForFile(install / L"Zorvi.exe.lock", 10000));
        ASSERT_TRUE(checker.startPass());
        for (int i = 0; i < 500 && sink.clientRunning.load() == 0; ++i)
            Sleep(10);
        EXPECT_EQ(sink.clientRunning.load(), 1);
        // A retry while the client still runs: the waiting pass ends, a new one reports again.
        ASSERT_TRUE(checker.startPass());
        for (int i = 0; i < 500 && sink.clientRunning.load() == 1; ++i)
            Sleep(10);
        EXPECT_EQ(sink.clientRunning.load(), 2);
        EXPECT_EQ(sink.checkPassed.load(), 0);
    }
    ASSERT_TRUE(checker.startPass());  // the client is gone now
    checker.wait();
    EXPECT_EQ(sink.checkPassed.load(), 1);
    EXPECT_EQ(sink.clientRunning.load(), 2);
    checker.stop();
}

TEST(UninstallUI, PostsWithoutAWindowAreDroppedNotQueuedHere)
{
    ZorviUninstallUI ui;
    ui.setProgress(L"file", 3, 200);
    ui.showClientRunning();
    ui.closePrompt();
    ui.showCleanFinish();
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, MSG_UNINST_CLIENT_RUNNING, MSG_UNINST_CLEAN_FINISH, PM_REMOVE))
        << "a post to a null window would land in this thread's queue";
}

} // namespace
