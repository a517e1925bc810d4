#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "ArchiveExtractor.h"
#include "DiskOutputer.h"
#include "InstallerFixtures.h"
#include "Paths.h"

extern "C" {
#include "7zCrc.h"
}

namespace {

// Remembers what the extraction hands over, writes nothing.
class RecordingOutputer final : public IItemOutputer {
public:
    struct Item {
        std::wstring name;
        bool isDir;
        std::string data;
    };
    std::vector<Item> items;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::wstring> checked;
    std::wstring rejectName;

    bool accept(const std::wstring&) override { return true; }
    bool output(const std::wstring& name, bool isDir, const unsigned char* data, size_t size) override
    {
        items.push_back({name, isDir, std::string(reinterpret_cast<const char*>(data), data ? size : 0)});
        return true;
    }
    bool canContinue() override { return true; }
    void onProgress(int index, int total) override { progress.emplace_back(index, total); }
    bool checkName(const std::wstring& name) override
    {
        checked.push_back(name);
        return name != rejectName;
    }
};

class StopAfterFirst final : public IStopQuery {
public:
    bool isStopRequested() override { return true; }
};

std::string payloadBytes()
{
    return test::readFile(test::payloadArchive());
}

bool extract(const std::string& bytes, IItemOutputer& outputer, IStopQuery* stop = nullptr)
{
    return extractArchive(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), outputer, stop);
}

// A valid 7z archive without any item: the signature header pointing at an empty next header.
std::string emptyArchive()
{
    std::string header("7z\xBC\xAF\x27\x1C\x00\x04", 8);
    std::string start(20, '\0');  // next header offset, size and CRC: all zero
    CrcGenerateTable();
    const UInt32 crc = CrcCalc(start.data(), start.size());
    header.append(reinterpret_cast<const char*>(&crc), 4);
    return header + start;
}

TEST(ArchiveExtractor, EveryItemIsHandedOverWithProgress)
{
    const std::string bytes = payloadBytes();
    ASSERT_FALSE(bytes.empty());
    RecordingOutputer out;
    ASSERT_TRUE(extract(bytes, out));
    ASSERT_GT(out.items.size(), 5u);
    EXPECT_EQ(out.checked.size(), out.items.size()) << "every name is checked first";
    ASSERT_EQ(out.progress.size(), out.items.size());
    for (size_t i = 0; i < out.progress.size(); ++i) {
        EXPECT_EQ(out.progress[i].first, static_cast<int>(i));
        EXPECT_EQ(out.progress[i].second, static_cast<int>(out.items.size()));
    }
    bool sawRoot = false;
    bool sawLauncher = false;
    for (const auto& item : out.items) {
        if (item.name == L"InstallDir")
            sawRoot = item.isDir;
        if (item.name == L"InstallDir/Launcher.xml") {
            sawLauncher = true;
            const std::wstring tree = test::payloadTree();
            if (!tree.empty()) {
                EXPECT_EQ(item.data, test::readFile(tree + L"InstallDir\\Launcher.xml"));
            }
        }
    }
    EXPECT_TRUE(sawRoot);
    EXPECT_TRUE(sawLauncher);
}

TEST(ArchiveExtractor, EmptyArchiveSucceedsWithoutProgress)
{
    RecordingOutputer out;
    EXPECT_TRUE(extract(emptyArchive(), out));
    EXPECT_TRUE(out.items.empty());
    EXPECT_TRUE(out.progress.empty());
}

TEST(ArchiveExtractor, DamagedArchivesFailWithoutWritingFiles)
{
    const std::string bytes = payloadBytes();
    ASSERT_GT(bytes.size(), 1000u);
    std::string corrupted = bytes;
    corrupted[bytes.size() / 3] ^= 0x5A;  // inside the packed stream
    const std::pair<const char*, std::string> cases[] = {
        {"nothing", ""},
        {"signature only", bytes.substr(0, 31)},
        {"first half", bytes.substr(0, bytes.size() / 2)},
        {"last byte missing", bytes.substr(0, bytes.size() - 1)},
        {"corrupted packed byte", corrupted},
        {"not an archive", std::string(4096, 'x')},
    };
    for (const auto& [name, archive] : cases) {
        SCOPED_TRACE(name);
        RecordingOutputer out;
        EXPECT_FALSE(extract(archive, out));
        for (const auto& item : out.items)
            EXPECT_TRUE(item.isDir) << "no file of a damaged archive is handed over";
    }
}

TEST(ArchiveExtractor, RejectedNameStopsBeforeTheFirstItem)
{
    RecordingOutputer out;
    out.rejectName = L"InstallDir/Launcher.xml";
    EXPECT_FALSE(extract(payloadBytes(), out));
    EXPECT_TRUE(out.items.empty());
}

TEST(ArchiveExtractor, StopRequestEndsAfterTheCurrentItem)
{
    RecordingOutputer out;
    StopAfterFirst stop;
    EXPECT_FALSE(extract(payloadBytes(), out, &stop));
    EXPECT_EQ(out.items.size(), 1u);
}

TEST(DiskOutputer, ItemNamesAsTable)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"InstallDir", true},
        {L"InstallDir/8.7.0.1/x.dll", true},
        {L"AppData\\config\\settings.ini", true},
        {L"Zorvi\u7cbe\u5f69.txt", true},
        {L"a.b.c", true},
        {L"", false},
        {L"/InstallDir/x", false},
        {L"\\x", false},
        {L"InstallDir//x", false},
        {L"InstallDir/", false},
        {L"InstallDir/./x", false},
        {L"InstallDir/../x", false},
        {L"InstallDir\\..\\..\\x", false},
        {L"..", false},
        {L"C:/Windows/x.dll", false},
        {L"InstallDir/x.txt:stream", false},
        {L"InstallDir/a\tb", false},
        {L"InstallDir/x.", false},
        {L"InstallDir/x ", false},
        {L"InstallDir/CON", false},
        {L"InstallDir/con.txt", false},
        {L"HZH/Lpt9/x", false},
        {L"InstallDir/COM0", true},
        {L"InstallDir/CONSOLE.txt", true},
        {L"InstallDir/a?b", false},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(CDiskOutputer::isSafeItemName(name), safe) << testing::PrintToString(std::wstring(name));
}

TEST(DiskOutputer, MapsRootFoldersAsTable)
{
    const std::wstring install = L"D:\\Zorvi\\";
    CDiskOutputer out(install, nullptr, nullptr);
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    wchar_t temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"InstallDir/8.7.0.1/x.dll", L"D:\\Zorvi\\8.7.0.1\\x.dll"},
        {L"Other/y.txt", L"D:\\Zorvi\\y.txt"},
        {L"loose.txt", L"D:\\Zorvi\\loose.txt"},
        {L"AppData/config/a.ini", getSetupCacheFolder(install) + L"config\\a.ini"},
        {L"TEMP/t.bin", std::wstring(temp) + L"\\t.bin"},
        {L"HZH/p/q", std::wstring(appData) + L"\\tenvale\\zorvi\\business\\zorvipip\\p\\q"},
        {L"installdir/z", L"D:\\Zorvi\\z"},  // root names compare exactly: another first component
    };
    for (const auto& [name, target] : cases) {
        std::wstring mapped;
        EXPECT_TRUE(out.mapItemPath(name, &mapped)) << testing::PrintToString(std::wstring(name));
        EXPECT_EQ(mapped, target);
    }
    for (const wchar_t* root : {L"InstallDir", L"AppData", L"TEMP", L"HZH"}) {
        std::wstring mapped;
        EXPECT_FALSE(out.mapItemPath(root, &mapped)) << testing::PrintToString(std::wstring(root));
    }
    EXPECT_FALSE(out.checkName(L"InstallDir/" + std::wstring(300, L'x'))) << "too long for its target";
    test::removeCacheFolders(install);
}

TEST(DiskOutputer, FileHeldOpenIsMovedAsideAndWrittenAfresh)
{
    test::TempFolder install(L"out");
    const std::wstring target = install / L"8.7.0.1\\held.dll";
    CreateDirectoryW((install / L"8.7.0.1").c_str(), nullptr);
    ASSERT_TRUE(test::writeFile(target, "running program"));
    ASSERT_TRUE(test::writeFile(target + L".old", "older copy"));
    // Like a running program's image: readable and movable, not writable.
    UniqueFileHandle held(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    CDiskOutputer out(install.path(), nullptr, nullptr);
    const std::string data = "new contents";
    EXPECT_TRUE(out.output(L"InstallDir/8.7.0.1/held.dll", false, reinterpret_cast<const unsigned char*>(data.data()),
                           data.size()));
    held.reset();
    EXPECT_EQ(test::readFile(target), data);
    EXPECT_EQ(test::readFile(target + L".old"), "running program") << "the older .old file is replaced";
    test::removeCacheFolders(install.path());
}

TEST(DiskOutputer, FileThatCannotBeMovedFailsAfterFiveTries)
{
    test::TempFolder install(L"out");
    const std::wstring target = install / L"locked.dll";
    ASSERT_TRUE(test::writeFile(target, "locked"));
    UniqueFileHandle held(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    CDiskOutputer out(install.path(), nullptr, nullptr);
    EXPECT_FALSE(out.output(L"InstallDir/locked.dll", false, reinterpret_cast<const unsigned char*>("x"), 1));
    held.reset();
    EXPECT_EQ(test::readFile(target), "locked");
    test::removeCacheFolders(install.path());
}

} // namespace
