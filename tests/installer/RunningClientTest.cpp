// A running client and the client's programs around an installation: the silent installer gives
// up for a client of its folder, the extraction task closes one when the user agrees, and programs
// of the version folder are terminated before anything is written.

#include <windows.h>

#include <atomic>
#include <memory>

#include <gtest/gtest.h>

#include "ClientShutdown.h"
#include "InstallerFixtures.h"
#include "Paths.h"
#include "SavedState.h"
#include "SetupLog.h"
#include "StubPrograms.h"
#include "ZorviSetupDecompressor.h"

namespace {

using test::RunningProgram;

// The client stub records its start before its window exists.
bool waitForClientWindow(const RunningProgram& client)
{
    for (int i = 0; i < 1000; ++i) {
        if (findProcessWindow(client.id(), ZorviClientShutdown::kClientWindowClass))
            return true;
        Sleep(10);
    }
    return false;
}

class RunningClient : public testing::Test {
protected:
    void TearDown() override { test::removeCacheFolders(m_install); }

    test::SavedInstallerFootprint m_footprint;  // registry values and shortcuts of the post-install actions
    test::TempFolder m_root{L"client"};
    std::wstring m_install = m_root / L"Zorvi\\";
    test::StubRecord m_record{m_root / L"record.txt"};
};

TEST_F(RunningClient, ClientOfTheInstallFolderStopsTheSilentInstall)
{
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", m_install + L"Zorvi.exe"));
    RunningProgram client(m_install + L"Zorvi.exe");
    ASSERT_TRUE(waitForClientWindow(client));

    const auto result = test::runProgram(test::setupExe(), L"-silence \"" + m_install + L"\"", 120000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, -4);
    EXPECT_TRUE(client.running()) << "the silent model never closes the client";
    EXPECT_FALSE(m_record.waitFor(L"quit-request", L"Zorvi.exe", 0));
    EXPECT_EQ(test::listFiles(m_install), std::vector<std::wstring>{L"Zorvi.exe"}) << "nothing extracted";
}

TEST_F(RunningClient, ClientOfAnotherFolderDoesNotStopTheInstall)
{
    const std::wstring other = m_root / L"Other\\";
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", other + L"Zorvi.exe"));
    RunningProgram client(other + L"Zorvi.exe");
    ASSERT_TRUE(waitForClientWindow(client));

    const auto result = test::runProgram(test::setupExe(), L"-silence \"" + m_install + L"\"", 120000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(client.running());
    EXPECT_TRUE(test::fileExists(m_install + L"Launcher.xml"));
}

TEST_F(RunningClient, VersionFolderProgramsEndBeforeExtractionSubfoldersStay)
{
    const std::wstring direct = m_install + L"8.7.0.1\\helper.exe";
    const std::wstring nested = m_install + L"8.7.0.1\\plugins\\nested.exe";
    ASSERT_TRUE(test::copyStub(L"zorvirun.exe", direct));
    ASSERT_TRUE(test::copyStub(L"zorvirun.exe", nested));
    std::unique_ptr<RunningProgram> directRun, nestedRun;
    {
        // Only these two stay up; the helpers the installer starts end at once.
        test::StubRecord lasting(m_root / L"record.txt", 60000);
        directRun = std::make_unique<RunningProgram>(direct);
        nestedRun = std::make_unique<RunningProgram>(nested);
    }
    ASSERT_TRUE(m_record.waitFor(L"start", L"helper.exe", 10000));
    ASSERT_TRUE(m_record.waitFor(L"start", L"nested.exe", 10000));

    const auto result = test::runProgram(test::setupExe(), L"-silence \"" + m_install + L"\"", 120000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(directRun->endsWithin(5000));
    EXPECT_TRUE(nestedRun->running());
    EXPECT_TRUE(test::fileExists(nested)) << "files of a program that keeps running stay";
}

// Records what the extraction task reports, from its worker thread.
class RecordingSink final : public ISetupControlSink {
public:
    std::atomic<int> running{0}, begun{0}, finished{0};
    void onCheckResult(int) override {}
    void onZorviRunning() override { ++running; }
    void onDecompressBegin() override { ++begun; }
    void onDecompressProgress(int, int) override {}
    void onDecompressFinish(bool) override { ++finished; }
};

bool waitUntil(const std::atomic<int>& counter, DWORD timeoutMs)
{
    for (DWORD waited = 0; counter.load() == 0 && waited < timeoutMs; waited += 10)
        Sleep(10);
    return counter.load() != 0;
}

// Starts the extraction task on its thread and waits until it reports the running client.
bool startAndWaitForPrompt(ZorviSetupDecompressor& task, RecordingSink& sink, const std::wstring& installPath)
{
    task.setSink(&sink);
    task.setInstallPath(installPath);
    return task.start(true) && waitUntil(sink.running, 10000);
}

TEST_F(RunningClient, ForceQuitClosesEveryClientThenExtractionGoesOn)
{
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", m_install + L"Zorvi.exe"));
    RunningProgram polite(m_install + L"Zorvi.exe");
    RunningProgram stubborn(m_install + L"Zorvi.exe", L"-ignorequit");
    ASSERT_TRUE(waitForClientWindow(polite));
    ASSERT_TRUE(waitForClientWindow(stubborn));

    RecordingSink sink;
    ZorviSetupDecompressor task;
    ASSERT_TRUE(startAndWaitForPrompt(task, sink, m_install));
    Sleep(100);
    EXPECT_EQ(sink.begun.load(), 0) << "the task waits for the user's answer";
    task.forceQuit();
    ASSERT_TRUE(waitUntil(sink.finished, 30000));
    task.stop();
    EXPECT_EQ(sink.begun.load(), 1);
    EXPECT_TRUE(polite.endsWithin(5000));
    EXPECT_TRUE(stubborn.endsWithin(5000));
    const std::wstring log = test::readUtf16File(setupLog().filePath());
    EXPECT_NE(log.find(L"] ZorviSetupDecompressor::_quitZorvi, post message (WM_APP + 601) to Zorvi for quit.\r\n"),
              std::wstring::npos)
        << "the client is asked before it is terminated";
}

TEST_F(RunningClient, StopWhileWaitingEndsTheTaskWithoutReports)
{
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", m_install + L"Zorvi.exe"));
    RunningProgram client(m_install + L"Zorvi.exe");
    ASSERT_TRUE(waitForClientWindow(client));

    RecordingSink sink;
    ZorviSetupDecompressor task;
    ASSERT_TRUE(startAndWaitForPrompt(task, sink, m_install));
    task.stop();
    EXPECT_EQ(sink.begun.load(), 0);
    EXPECT_EQ(sink.finished.load(), 0);
    EXPECT_TRUE(client.running());
}

TEST_F(RunningClient, ClientIsFoundOnlyByItsExactProgramPath)
{
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", m_install + L"Zorvi.exe"));
    RunningProgram client(m_install + L"Zorvi.exe");
    ASSERT_TRUE(waitForClientWindow(client));
    DWORD pid = 0;
    EXPECT_TRUE(ZorviClientShutdown(m_install)._isZorviRunning(&pid));
    EXPECT_EQ(pid, client.id());
    EXPECT_FALSE(ZorviClientShutdown(m_root / L"Elsewhere\\")._isZorviRunning(&pid));
}

} // namespace
