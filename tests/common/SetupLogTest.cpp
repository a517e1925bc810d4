#include <windows.h>

#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "SetupLog.h"
#include "TestSupport.h"

namespace {

const std::string kBom = "\xFF\xFE";

std::string utf16Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

TEST(SetupLog, FirstRunCreatesFolderAndWritesMarkThenLine)
{
    test::TempFolder temp(L"log");
    const std::wstring folder = temp / L"a\\b\\setup\\";
    CSetupLog log(folder);
    EXPECT_TRUE(test::folderExists(folder)) << "the folder is made with its parents";
    log.setFileName(L"setupV2.log");
    log.write(L"first");

    const std::string bytes = test::readFile(folder + L"setupV2.log");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), kBom);
    const std::wstring text = test::readUtf16File(folder + L"setupV2.log");
    ASSERT_EQ(text.size(), 29u) << "[yyyy-mm-dd hh:mm:ss] first\\r\\n";
    EXPECT_EQ(text[0], L'[');
    EXPECT_EQ(text.substr(20), L"] first\r\n");
}

TEST(SetupLog, LaterRunAppendsWithoutSecondMark)
{
    test::TempFolder temp(L"log");
    {
        CSetupLog first(temp.path());
        first.write(L"run one");
    }
    {
        CSetupLog second(temp.path());
        second.write(L"run two");
    }
    const std::string bytes = test::readFile(temp / L"setupV2.log");
    EXPECT_EQ(bytes.substr(0, 2), kBom);
    EXPECT_EQ(bytes.find(kBom, 2), std::string::npos);
    const std::wstring text = test::readUtf16File(temp / L"setupV2.log");
    EXPECT_NE(text.find(L"] run one\r\n["), std::wstring::npos);
    EXPECT_NE(text.find(L"] run two\r\n"), std::wstring::npos);
}

TEST(SetupLog, SizeDecidesBetweenAppendAndRestart)
{
    struct Case {
        size_t existingSize;
        bool appended;
    };
    const Case cases[] = {{0, false}, {2, true}, {1048576, true}, {1048577, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "existing size " << c.existingSize);
        test::TempFolder temp(L"log");
        std::string existing(c.existingSize, 'x');
        if (c.existingSize >= 2)
            existing.replace(0, 2, kBom);
        ASSERT_TRUE(test::writeFile(temp / L"setupV2.log", existing));

        CSetupLog log(temp.path());
        log.write(L"entry");
        const std::string bytes = test::readFile(temp / L"setupV2.log");
        const std::string line = utf16Bytes(L"] entry\r\n");
        if (c.appended) {
            EXPECT_EQ(bytes.substr(0, existing.size()), existing);
            EXPECT_EQ(bytes.size(), existing.size() + 2 * 29);
        } else {
            EXPECT_EQ(bytes.size(), 2u + 2 * 29) << "emptied and restarted with the mark";
            EXPECT_EQ(bytes.substr(0, 2), kBom);
        }
        EXPECT_EQ(bytes.substr(bytes.size() - line.size()), line);
    }
}

TEST(SetupLog, LineFormatPadsFieldsAndKeepsLineEndWhenCut)
{
    SYSTEMTIME t = {};
    t.wYear = 2016;
    t.wMonth = 3;
    t.wDay = 2;
    t.wHour = 9;
    t.wMinute = 5;
    t.wSecond = 3;
    EXPECT_EQ(CSetupLog::formatLine(t, L"hello"), L"[2016-03-02 09:05:03] hello\r\n");
    EXPECT_EQ(CSetupLog::formatLine(t, L"\n\nbanner\n"), L"[2016-03-02 09:05:03] \n\nbanner\n\r\n");
    t.wYear = 999;
    EXPECT_EQ(CSetupLog::formatLine(t, L""), L"[ 999-03-02 09:05:03] \r\n");

    const std::wstring longMessage(5000, L'm');
    const std::wstring cut = CSetupLog::formatLine(t, longMessage.c_str());
    EXPECT_EQ(cut.size(), 2047u);
    EXPECT_EQ(cut.substr(cut.size() - 3), L"m\r\n");
}

TEST(SetupLog, UnavailableFolderDropsEntriesAndRetriesLater)
{
    test::TempFolder temp(L"log");
    // A file where the log folder should be makes the folder impossible to create.
    ASSERT_TRUE(test::writeFile(temp / L"blocked", "x"));
    CSetupLog log(temp / L"blocked\\setup\\");
    log.write(L"dropped");
    EXPECT_FALSE(test::fileExists(temp / L"blocked\\setup\\setupV2.log"));

    ASSERT_TRUE(DeleteFileW((temp / L"blocked").c_str()));
    log.write(L"kept");
    const std::wstring text = test::readUtf16File(temp / L"blocked\\setup\\setupV2.log");
    EXPECT_EQ(text.find(L"dropped"), std::wstring::npos);
    EXPECT_NE(text.find(L"] kept\r\n"), std::wstring::npos);
}

TEST(SetupLog, ConcurrentWritersKeepLinesWhole)
{
    test::TempFolder temp(L"log");
    CSetupLog log(temp.path());
    log.write(L"banner");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < 200; ++i)
                log.write((L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(i)).c_str());
        });
    for (auto& thread : threads)
        thread.join();

    const std::wstring text = test::readUtf16File(temp / L"setupV2.log");
    size_t lines = 0;
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        const std::wstring line = text.substr(start, end - start);
        ASSERT_EQ(line[0], L'[') << testing::PrintToString(line);
        ASSERT_EQ(line.substr(20, 2), L"] ");
        ++lines;
    }
    EXPECT_EQ(lines, 801u);
}

TEST(SetupLog, LogPrintFormatsIntoTheNamedFile)
{
    const std::wstring name = L"logprint-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    logSetFileName(name.c_str());
    logPrint(L"Quit application, exit code is %d, path %ls", -5, L"C:\\x\\");
    const std::wstring path = setupLog().folder() + name;
    const std::wstring text = test::readUtf16File(path);
    EXPECT_NE(text.find(L"] Quit application, exit code is -5, path C:\\x\\\r\n"), std::wstring::npos);
    EXPECT_NE(setupLog().folder().find(L"\\tenvale\\zorvi\\setup\\"), std::wstring::npos);

    // Redirect the log before removing the file so that the open handle moves away from it.
    logSetFileName(L"setupV2-tests.log");
    logPrint(L"switch");
    DeleteFileW(path.c_str());
}

} // namespace
