// Post-install actions and finishing operations against a fake install folder holding the stub
// programs. They write to the user's real registry keys and shell folders of the test prefix; every
// test puts back what was there before.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "ComSupport.h"
#include "InstallerFixtures.h"
#include "Paths.h"
#include "SavedState.h"
#include "SetupLog.h"
#include "ShellLink.h"
#include "StubPrograms.h"
#include "TestSupport.h"
#include "ZorviSetupCore.h"

namespace {

using Request = ZorviSetupCore::ShellOpenRequest;

std::wstring trimmedFolder(std::wstring folder)
{
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

std::wstring currentFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

size_t logLength()
{
    return test::readUtf16File(setupLog().filePath()).size();
}

std::wstring logSince(size_t offset)
{
    const std::wstring text = test::readUtf16File(setupLog().filePath());
    return offset < text.size() ? text.substr(offset) : std::wstring();
}

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    DWORD size = 0;
    std::wstring text;  // the data as UTF-16 up to a final terminator
    bool terminated = false;  // the stored bytes end in exactly one zero character
};

RegistryValue readValue(const wchar_t* subKey, const wchar_t* name)
{
    RegistryValue value;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return value;
    BYTE data[4096] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, data, &size) != ERROR_SUCCESS)
        return value;
    value.present = true;
    value.size = size;
    value.text.assign(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    value.terminated = !value.text.empty() && value.text.back() == L'\0';
    if (value.terminated)
        value.text.pop_back();
    value.terminated = value.terminated && value.text.find(L'\0') == std::wstring::npos;
    return value;
}

struct LinkInfo {
    bool loaded = false;
    std::wstring path, workingFolder, icon;
    int iconIndex = -1;
};

LinkInfo readLink(const std::wstring& file)
{
    ScopedCoInitialize com;
    ShellLink link;
    LinkInfo info;
    info.loaded = link.load(file);
    if (info.loaded) {
        info.path = link.path();
        info.workingFolder = link.workingDirectory();
        info.icon = link.iconLocation(&info.iconIndex);
    }
    return info;
}

// Whether a link's GetPath text is target. Wine's SetPath takes an address such as "zorvi://a/b" for
// a relative file name and stores it as <current folder>\zorvi:\a\b; that form counts too.
bool isLinkTarget(const std::wstring& path, const std::wstring& target)
{
    if (path == target)
        return true;
    std::wstring relative;
    for (wchar_t c : target) {
        if (c == L'/' && !relative.empty() && relative.back() == L'\\')
            continue;
        relative += c == L'/' ? L'\\' : c;
    }
    return path == currentFolder() + L"\\" + relative;
}

bool writeLink(const std::wstring& file, const std::wstring& target, const std::wstring& workingFolder)
{
    ScopedCoInitialize com;
    ShellLink link;
    return link.setPath(target) && link.setWorkingDirectory(workingFolder) && link.save(file);
}

class PostInstall : public testing::Test {
protected:
    void SetUp() override
    {
        if (!m_places.complete())
            GTEST_SKIP() << "Wine does not provide one of the user's desktop, programs, start-menu or favourites folders";
        ASSERT_TRUE(test::fileExists(test::stubFolder() + L"Zorvi.exe"));
        m_core.setUrlLauncher([this](const Request& request) { m_requests.push_back(request); });
        m_logStart = logLength();
        installInto(m_install.path());
    }

    void TearDown() override
    {
        // Helpers still running would keep the fake install folder from being removed.
        for (const test::StubLine& line : m_record.lines())
            if (line.kind == L"start")
                m_record.waitFor(L"end", line.program.c_str(), 30000);
    }

    // Fills a fake install folder with the stubs and icons and makes it the core's install path.
    void installInto(const std::wstring& p)
    {
        const std::wstring v = p + ZorviSetupCore::kVersionFolder + L"\\";
        const std::pair<const wchar_t*, std::wstring> stubs[] = {
            {L"Zorvi.exe", p + L"Zorvi.exe"},
            {L"zorviwizard.exe", p + L"zorviwizard.exe"},
            {L"zorvilauncher.exe", v + L"zorvilauncher.exe"},
            {L"installstat.exe", v + L"installstat.exe"},
            {L"zorvirun.exe", v + L"zorvirun.exe"},
            {L"zorvidesktopshortcut_x86.exe", v + L"zorvidesktopshortcut_x86.exe"},
        };
        for (const auto& [stub, place] : stubs)
            ASSERT_TRUE(test::copyStub(stub, place)) << testing::PrintToString(place);
        SHCreateDirectory(nullptr, (v + L"image").c_str());
        for (const wchar_t* icon : {L"game.ico", L"sollaria.ico", L"mirro.ico"})
            ASSERT_TRUE(test::writeFile(v + L"image\\" + icon, "icon"));
        m_core.setSetupPath(p);
        m_p = m_core.installPath();
        m_v = m_p + ZorviSetupCore::kVersionFolder;
    }

    std::wstring newLog() const { return logSince(m_logStart); }

    test::SavedInstallerFootprint m_places;
    test::TempFolder m_install{L"inst"};
    test::TempFolder m_scratch{L"rec"};
    test::StubRecord m_record{m_scratch / L"record.txt"};
    ZorviSetupCore m_core{nullptr};
    std::vector<Request> m_requests;
    std::wstring m_p, m_v;
    size_t m_logStart = 0;
};

TEST_F(PostInstall, RegistryValuesAreStoredAsTerminatedStrings)
{
    RegDeleteKeyValueW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, L"Zorvi");
    m_core.doAfterDecompress();
    struct Row {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring data;
    };
    const Row rows[] = {
        {ZorviSetupCore::kZorviKey, L"InstallDir", m_p},
        {ZorviSetupCore::kZorviKey, L"RootPath", m_p},
        {ZorviSetupCore::kUninstallKey, L"UninstallString", m_p + L"Uninstall.exe"},
        {ZorviSetupCore::kUninstallKey, L"DisplayName", L"Zorvi8"},
        {ZorviSetupCore::kUninstallKey, L"Publisher", L"Tenvale游戏网"},
        {ZorviSetupCore::kUninstallKey, L"DisplayVersion", L"8.7.0.1"},
    };
    ASSERT_EQ(m_p.back(), L'\\');
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.name)));
        const RegistryValue value = readValue(row.key, row.name);
        ASSERT_TRUE(value.present);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value.size, (row.data.size() + 1) * sizeof(wchar_t)) << "one terminating zero, nothing else";
        EXPECT_TRUE(value.terminated);
        EXPECT_EQ(value.text, row.data);
    }
    const RegistryValue about = readValue(ZorviSetupCore::kUninstallKey, L"URLInfoAbout");
    EXPECT_EQ(about.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(about.text.rfind(L"http://", 0), 0u);
    EXPECT_EQ(about.text.find(L'/', 7), about.text.size() - 1) << "path \"/\" on the product's host";
    EXPECT_TRUE(about.terminated);
    EXPECT_FALSE(readValue(ZorviSetupCore::kRunKey, L"Zorvi").present) << "autorun is a finishing option only";
}

TEST_F(PostInstall, PathsWithBlanksAreQuotedWhereTheyAreRunAsCommands)
{
    test::TempFolder spaced(L"inst dir");
    installInto(spaced.path());
    ASSERT_NE(m_p.find(L' '), std::wstring::npos);
    UniqueRegKey run;  // the guard of the fixture removes it again when it is new
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              run.put(), nullptr),
              ERROR_SUCCESS);
    m_core.doAfterDecompress();
    m_core.setAutoRun();
    EXPECT_EQ(readValue(ZorviSetupCore::kZorviKey, L"InstallDir").text, m_p) << "a folder, not a command";
    EXPECT_EQ(readValue(ZorviSetupCore::kUninstallKey, L"UninstallString").text, L"\"" + m_p + L"Uninstall.exe\"");
    EXPECT_EQ(readValue(ZorviSetupCore::kRunKey, L"Zorvi").text, L"\"" + m_p + L"Zorvi.exe\"");
    TearDown();  // the stubs of this folder end before it is removed
}

TEST_F(PostInstall, ShortcutsGetTheirTargetsIconsAndWorkingFolder)
{
    // An old link the installer replaces, and an outdated copy of a link it writes anew.
    ASSERT_TRUE(writeLink(m_places.onDesktop(L"Zorvi精彩世界"), m_p + L"Zorvi.exe", m_p));
    ASSERT_TRUE(writeLink(m_places.onDesktop(L"Zorvi语音"), L"C:\\old\\Zorvi.exe", L"C:\\old"));
    m_core.doAfterDecompress();

    const std::wstring data = trimmedFolder(getDataFolder());
    struct Row {
        std::wstring file;
        std::wstring target;
        std::wstring icon;
    };
    const Row rows[] = {
        {m_places.onDesktop(L"Zorvi语音"), m_p + L"Zorvi.exe", L""},
        {m_places.group() + L"\\Zorvi语音.lnk", m_p + L"Zorvi.exe", L""},
        {m_places.startMenu() + L"\\Zorvi语音.lnk", m_p + L"Zorvi.exe", L""},
        {m_places.group() + L"\\卸载Zorvi语音.lnk", m_p + L"Uninstall.exe", L""},
        {m_places.onDesktop(L"Zorvi游戏大厅"), L"zorvi://join:lobby_gameab=default&from=from_desklby/",
         m_v + L"\\image\\game.ico"},
        {m_places.onDesktop(L"看直播"), L"zorvi://sollaria-[tabPid=1011&tabSid=10011&from=desktop]/",
         m_v + L"\\image\\sollaria.ico"},
        {m_places.onDesktop(L"Mirro-神秘聊天室"), L"zorvi://mirro-[showmirrowindow=1&report=0x10008183]/",
         m_v + L"\\image\\mirro.ico"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.file));
        const LinkInfo link = readLink(row.file);
        ASSERT_TRUE(link.loaded);
        EXPECT_EQ(trimmedFolder(link.workingFolder), data);
        EXPECT_EQ(link.icon, row.icon);
        if (!row.icon.empty()) {
            EXPECT_EQ(link.iconIndex, 0);
        }
        EXPECT_TRUE(isLinkTarget(link.path, row.target)) << testing::PrintToString(link.path);
    }
    EXPECT_FALSE(test::fileExists(m_places.onDesktop(L"Zorvi精彩世界")));
    EXPECT_FALSE(test::fileExists(m_places.onDesktop(L"Pelio游戏"))) << "a finishing option only";
}

// Quick-launch and pinned folders: only links to zorvilauncher.exe or Zorvi.exe elsewhere follow the
// new install folder.
TEST_F(PostInstall, PinnedLinksToAnOlderClientFollowTheNewFolder)
{
    wchar_t expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch", expanded, MAX_PATH);
    const std::wstring quickLaunch = expanded;
    test::SavedFolder quickLaunchFolder(quickLaunch + L"\\User Pinned\\TaskBar");
    test::SavedFolder startMenuPins(quickLaunch + L"\\User Pinned\\StartMenu");
    ASSERT_TRUE(quickLaunchFolder.create());
    ASSERT_TRUE(startMenuPins.create());

    test::TempFolder old(L"old");
    ASSERT_TRUE(test::copyStub(L"zorvilauncher.exe", old / L"8.4.0.4\\zorvilauncher.exe"));
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", old / L"Zorvi.exe"));
    ASSERT_TRUE(test::copyStub(L"installstat.exe", old / L"notes.exe"));
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    struct Row {
        std::wstring folder;
        std::wstring target;
        bool follows;
    };
    const Row rows[] = {
        {quickLaunch + L"\\User Pinned\\TaskBar", old / L"8.4.0.4\\zorvilauncher.exe", true},
        {quickLaunch + L"\\User Pinned\\TaskBar", m_v + L"\\zorvilauncher.exe", true},  // launcher gives way to the client
        {quickLaunch + L"\\User Pinned\\TaskBar", m_p + L"Zorvi.exe", false},          // already the new folder
        {quickLaunch + L"\\User Pinned\\TaskBar", old / L"notes.exe", false},          // another program
        {quickLaunch + L"\\User Pinned\\StartMenu", old / L"Zorvi.exe", true},
        {quickLaunch, old / L"8.4.0.4\\zorvilauncher.exe", true},
    };
    std::vector<std::wstring> files;
    for (size_t i = 0; i < std::size(rows); ++i)
        files.push_back(rows[i].folder + L"\\zorvi-test-" + tag + L"-" + std::to_wstring(i) + L".lnk");
    test::SavedFiles removeLinks(files);
    std::vector<std::string> before;
    for (size_t i = 0; i < std::size(rows); ++i) {
        ASSERT_TRUE(writeLink(files[i], rows[i].target, old.path()));
        before.push_back(test::readFile(files[i]));
    }
    // A link in a subfolder is not looked at.
    const std::wstring nested = quickLaunch + L"\\User Pinned\\TaskBar\\zorvi-test-" + tag;
    test::SavedFolder nestedFolder(nested);
    ASSERT_TRUE(nestedFolder.create());
    ASSERT_TRUE(writeLink(nested + L"\\old.lnk", old / L"8.4.0.4\\zorvilauncher.exe", old.path()));
    const std::string nestedBefore = test::readFile(nested + L"\\old.lnk");

    m_core.doAfterDecompress();

    const std::wstring data = trimmedFolder(getDataFolder());
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(testing::PrintToString(rows[i].target));
        const LinkInfo link = readLink(files[i]);
        if (rows[i].follows) {
            EXPECT_EQ(link.path, m_p + L"Zorvi.exe");
            EXPECT_EQ(trimmedFolder(link.workingFolder), data);
        } else {
            EXPECT_EQ(test::readFile(files[i]), before[i]) << "left byte for byte as it was";
        }
    }
    EXPECT_EQ(test::readFile(nested + L"\\old.lnk"), nestedBefore);
}

TEST_F(PostInstall, HelperProgramsRunWithTheirCommandLinesAndTheWizardIsAwaited)
{
    // Each helper lingers for a second: the wizard's end must already be recorded when the
    // post-install actions return, the others are not waited for.
    test::StubRecord record(m_scratch / L"helpers.txt", 1000);
    m_core.doAfterDecompress();
    EXPECT_TRUE(record.waitFor(L"end", L"zorviwizard.exe", 0)) << "zorviwizard.exe was not waited for";

    const std::wstring inherited = currentFolder();
    struct Row {
        const wchar_t* program;
        std::wstring commandLine;
        std::wstring folder;
    };
    // A program started by application name alone gets that name as its command line.
    const Row rows[] = {
        {L"zorviwizard.exe", m_p + L"zorviwizard.exe", inherited},
        {L"installstat.exe", L"\"" + m_v + L"\\installstat.exe\" \"\"|8.7.0.1|1|i|\"\"", m_p},
        {L"zorvirun.exe", L"\"" + m_v + L"\\zorvirun.exe\" \"-reg\"", m_p},
        {L"zorvidesktopshortcut_x86.exe", m_v + L"\\zorvidesktopshortcut_x86.exe", inherited},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.program)));
        test::StubLine line;
        ASSERT_TRUE(record.waitFor(L"start", row.program, 30000, &line));
        // Wine puts a lone application name in quotes where Windows passes it as it stands.
        const bool quotedByWine = row.folder == inherited && line.commandLine == L"\"" + row.commandLine + L"\"";
        if (!quotedByWine) {
            EXPECT_EQ(line.commandLine, row.commandLine);
        }
        EXPECT_EQ(trimmedFolder(line.workingFolder), trimmedFolder(row.folder));
        EXPECT_TRUE(record.waitFor(L"end", row.program, 30000));
    }
    const std::vector<test::StubLine> lines = record.lines();
    EXPECT_EQ(lines.front().program, L"zorviwizard.exe") << "the wizard runs first and alone";
    EXPECT_EQ(lines[1].kind, L"end");
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const test::StubLine& l) { return l.program == L"Zorvi.exe"; }))
        << "the client itself is a finishing option";

    const std::wstring log = newLog();
    for (const std::wstring& text : {
             std::wstring(L"] ZorviSetupCore::doAfterDecompress, decompress finished.\r\n"),
             std::wstring(L"] ZorviSetupCore::_do3XUpdate begin.\r\n"),
             std::wstring(L"] ZorviSetupCore::_do3XUpdate, wait finish.\r\n"),
             std::wstring(L"] ZorviSetupCore::_do3XUpdate finish.\r\n"),
             L"] ZorviSetupCore::runInstallstat, run " + m_v + L"\\installstat.exe parameter is \"|8.7.0.1|1|i|\".\r\n",
             L"] ZorviSetupCore::runZorviRun, run " + m_v + L"\\zorvirun.exe parameter is -reg.\r\n"})
        EXPECT_TRUE(contains(log, text)) << testing::PrintToString(text) << "\n" << testing::PrintToString(log);
    EXPECT_FALSE(contains(log, L"_runLiveShow, CreateProcess fail"));
}

TEST_F(PostInstall, MissingHelpersAreSkippedAndLogged)
{
    for (const wchar_t* name : {L"zorviwizard.exe", L"8.7.0.1\\installstat.exe", L"8.7.0.1\\zorvirun.exe",
                                L"8.7.0.1\\zorvidesktopshortcut_x86.exe"})
        ASSERT_TRUE(DeleteFileW((m_p + name).c_str()));
    m_core.doAfterDecompress();
    const std::wstring log = newLog();
    EXPECT_TRUE(contains(log, L"] ZorviSetupCore::_do3XUpdate begin.\r\n"));
    EXPECT_FALSE(contains(log, L"_do3XUpdate, wait finish."));
    EXPECT_TRUE(contains(log, L"] ZorviSetupCore::_do3XUpdate finish.\r\n"));
    EXPECT_TRUE(contains(log, L"] ZorviSetupCore::_runLiveShow, CreateProcess fail. sysBits=" +
                                  std::to_wstring(ZorviSetupCore::getSystemBits()) + L"\r\n"));
    EXPECT_TRUE(contains(log, L"ZorviSetupCore::CustomLsp, strAppFilePath=")) << "later steps still run";
    EXPECT_TRUE(m_record.lines().empty());
}

TEST_F(PostInstall, WinsockCategoryIsDeclaredForTheClient)
{
    m_core.doAfterDecompress();
    UniqueLibrary ws2(LoadLibraryExW(L"ws2_32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    const bool hasExport = ws2 && GetProcAddress(ws2.get(), "WSCSetApplicationCategory") != nullptr;
    const std::wstring line = L"] ZorviSetupCore::CustomLsp, strAppFilePath=" + m_p + L"Zorvi.exe, bResult=";
    const std::wstring log = newLog();
    ASSERT_TRUE(contains(log, line)) << testing::PrintToString(log);
    if (!hasExport)
        GTEST_SKIP() << "this Wine's ws2_32 has no WSCSetApplicationCategory; the call is logged as failed";
    EXPECT_TRUE(contains(log, line + L"1\r\n")) << testing::PrintToString(log);
    EXPECT_FALSE(ZorviSetupCore::CustomLsp(L"")) << "an empty path is refused";
}

TEST_F(PostInstall, NothingHappensWithoutAnAbsoluteInstallPath)
{
    // A program of that name in the current folder must never be started by a relative lookup.
    test::TempFolder cwd(L"cwd");
    ASSERT_TRUE(test::copyStub(L"zorviwizard.exe", cwd / L"zorviwizard.exe"));
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", cwd / L"Zorvi.exe"));
    const std::wstring saved = currentFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(cwd.path().c_str()));
    const RegistryValue before = readValue(ZorviSetupCore::kZorviKey, L"InstallDir");
    for (const wchar_t* path : {L"", L"relative\\folder"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        ZorviSetupCore core(nullptr);
        core.setSetupPath(path);
        core.doAfterDecompress();
        core.runZorvi();
        core.setAutoRun();
        core.createPelioShortcut();
        const RegistryValue after = readValue(ZorviSetupCore::kZorviKey, L"InstallDir");
        EXPECT_EQ(after.present, before.present);
        EXPECT_EQ(after.text, before.text);
    }
    Sleep(500);
    SetCurrentDirectoryW(saved.c_str());
    EXPECT_TRUE(m_record.lines().empty());
    EXPECT_TRUE(contains(newLog(), L"] ZorviSetupCore::doAfterDecompress, no absolute install path, nothing done.\r\n"));
}

TEST_F(PostInstall, WithoutAppDataNoQuickLaunchFolderIsSearchedRelativeToTheCurrentFolder)
{
    wchar_t appData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    // What an unexpanded "%APPDATA%\..." would name, below the current folder.
    test::TempFolder cwd(L"cwd");
    const std::wstring decoy = cwd / L"%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch";
    SHCreateDirectory(nullptr, decoy.c_str());
    ASSERT_TRUE(test::copyStub(L"zorvilauncher.exe", cwd / L"old\\zorvilauncher.exe"));
    ASSERT_TRUE(writeLink(decoy + L"\\old.lnk", cwd / L"old\\zorvilauncher.exe", cwd.path()));
    const std::string before = test::readFile(decoy + L"\\old.lnk");
    const std::wstring saved = currentFolder();
    SetCurrentDirectoryW(cwd.path().c_str());
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    m_core._retargetPinnedShortcuts();
    SetEnvironmentVariableW(L"APPDATA", appData);
    SetCurrentDirectoryW(saved.c_str());
    EXPECT_EQ(test::readFile(decoy + L"\\old.lnk"), before);
}

// ---- Finishing operations ----------------------------------------------------------------------

TEST_F(PostInstall, AutoRunWritesTheRunValueOnlyWhereTheRunKeyExists)
{
    RegDeleteKeyValueW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, L"Zorvi");
    UniqueRegKey run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, 0, KEY_ALL_ACCESS, run.put()) != ERROR_SUCCESS) {
        m_core.setAutoRun();
        EXPECT_FALSE(readValue(ZorviSetupCore::kRunKey, L"Zorvi").present) << "a missing Run key is not created";
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  run.put(), nullptr),
                  ERROR_SUCCESS);
    }
    m_core.setAutoRun();
    const RegistryValue value = readValue(ZorviSetupCore::kRunKey, L"Zorvi");
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.text, m_p + L"Zorvi.exe");
    EXPECT_TRUE(value.terminated);
    EXPECT_TRUE(contains(newLog(), L"] ZorviSetupCore::setAutoRun, write REGEDIT (auto run Zorvi).\r\n"));
}

TEST_F(PostInstall, FavouriteLinkReplacesAnOldFile)
{
    const std::wstring file = m_places.favourites() + L"\\Tenvale游戏网.url";
    ASSERT_TRUE(test::writeFile(file, std::string(4000, 'x')));
    m_core.collectTenvale();
    const std::string bytes = test::readFile(file);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    ASSERT_EQ(bytes.size() % 2, 0u);
    const std::wstring head = L"\xFEFF[InternetShortcut]\nURL=http://";
    EXPECT_EQ(text.substr(0, head.size()), head) << "UTF-16 LE with its byte-order mark";
    EXPECT_EQ(text.size() - text.find(L'/', head.size()), std::wstring(L"/index3.html").size());
    EXPECT_EQ(text.substr(text.size() - 12), L"/index3.html") << "no terminator";
    wchar_t url[512] = {};
    GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", url, 512, file.c_str());
    EXPECT_EQ(std::wstring(url), text.substr(head.size() - 7)) << "readable as an Internet shortcut";
    EXPECT_TRUE(contains(newLog(), L"] ZorviSetupCore::collectTenvale, collect official website.\r\n"));
}

TEST_F(PostInstall, GameBoxLinkNeedsItsIcon)
{
    const std::wstring link = m_places.onDesktop(L"Pelio游戏");
    DeleteFileW(link.c_str());
    m_core.createPelioShortcut();
    EXPECT_FALSE(test::fileExists(link)) << "no pelio.ico, no link";

    const std::wstring icon = m_v + L"\\image\\pelio.ico";
    ASSERT_TRUE(test::writeFile(icon, "icon"));
    m_core.createPelioShortcut();
    const LinkInfo info = readLink(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.icon, icon);
    EXPECT_EQ(info.iconIndex, 0);
    EXPECT_EQ(info.workingFolder, L"");
    EXPECT_TRUE(isLinkTarget(
        info.path, L"zorvi://gamebox/6C61756E63685F747970653A747970655E3D5E7A6F7276696465736B6C6E6B"))
        << testing::PrintToString(info.path);
}

TEST_F(PostInstall, ClientStartsFromTheDataFolderAndClosesOnRequest)
{
    m_core.runZorvi();
    test::StubLine start;
    ASSERT_TRUE(m_record.waitFor(L"start", L"Zorvi.exe", 30000, &start));
    EXPECT_EQ(start.commandLine, m_p + L"Zorvi.exe") << "the path as it stands, no arguments";
    EXPECT_EQ(trimmedFolder(start.workingFolder), trimmedFolder(getDataFolder()));

    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i, Sleep(50))
        window = findProcessWindow(start.processId, L"TENVALE SPEAK MAIN FRAME | 4D1BB563-E5FC-4771-AD17-6442A4147044");
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_APP + 601, 0, 0);
    EXPECT_TRUE(m_record.waitFor(L"end", L"Zorvi.exe", 30000));
}

TEST_F(PostInstall, PagesOpenThroughTheBrowserRequest)
{
    m_core.viewReleaseNote();
    m_core.openHomePage();
    ASSERT_EQ(m_requests.size(), 2u);
    const std::wstring urls[] = {
        m_requests[0].internetExplorer ? m_requests[0].parameters : m_requests[0].file,
        m_requests[1].internetExplorer ? m_requests[1].parameters : m_requests[1].file,
    };
    EXPECT_EQ(urls[0].rfind(L"http://", 0), 0u);
    EXPECT_EQ(urls[0].substr(urls[0].find(L'/', 7)), L"/zorvi8");
    EXPECT_EQ(urls[1].rfind(L"http://", 0), 0u);
    EXPECT_EQ(urls[1].substr(urls[1].find(L'/', 7)), L"/?zorvi");
    const std::wstring log = newLog();
    EXPECT_TRUE(contains(log, L"] ZorviSetupCore::viewReleaseNote, view new feature.\r\n"));
    EXPECT_TRUE(contains(log, L"] open url " + urls[0] + L"\r\n"));
    EXPECT_TRUE(contains(log, L"] open url " + urls[1] + L"\r\n"));
}

// The built installer, run silently on the sample payload: the client is registered and its
// shortcuts exist, but nothing of the finish page happens.
TEST(SilentPostInstall, RegistersTheClientWithoutFinishingOptions)
{
    test::SavedInstallerFootprint footprint;
    if (!footprint.complete())
        GTEST_SKIP() << "Wine does not provide one of the user's desktop, programs, start-menu or favourites folders";
    if (test::payloadTree().empty())
        GTEST_SKIP() << "the build packed another client than the sample";
    UniqueRegKey run;  // the guard removes it again when it is new
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ZorviSetupCore::kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              run.put(), nullptr),
              ERROR_SUCCESS);
    RegDeleteValueW(run.get(), L"Zorvi");
    DeleteFileW((footprint.favourites() + L"\\Tenvale游戏网.url").c_str());
    DeleteFileW(footprint.onDesktop(L"Pelio游戏").c_str());

    test::TempFolder root(L"silentpost");
    const std::wstring install = root / L"Zorvi\\";
    const auto result = test::runProgram(test::setupExe(), L"-silence \"" + install + L"\"", 120000);
    test::removeCacheFolders(install);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);

    EXPECT_EQ(readValue(ZorviSetupCore::kZorviKey, L"InstallDir").text, install);
    EXPECT_EQ(readValue(ZorviSetupCore::kZorviKey, L"RootPath").text, install);
    EXPECT_EQ(readValue(ZorviSetupCore::kUninstallKey, L"UninstallString").text, install + L"Uninstall.exe");
    EXPECT_TRUE(test::fileExists(install + L"Uninstall.exe")) << "the entry names the installed uninstaller";
    for (const std::wstring& link : {footprint.onDesktop(L"Zorvi语音"), footprint.group() + L"\\Zorvi语音.lnk",
                                     footprint.startMenu() + L"\\Zorvi语音.lnk"}) {
        SCOPED_TRACE(testing::PrintToString(link));
        EXPECT_EQ(readLink(link).path, install + L"Zorvi.exe");
    }
    EXPECT_EQ(readLink(footprint.group() + L"\\卸载Zorvi语音.lnk").path, install + L"Uninstall.exe");

    EXPECT_FALSE(readValue(ZorviSetupCore::kRunKey, L"Zorvi").present);
    EXPECT_FALSE(test::fileExists(footprint.favourites() + L"\\Tenvale游戏网.url"));
    EXPECT_FALSE(test::fileExists(footprint.onDesktop(L"Pelio游戏")));
}

TEST(PostInstallHelpers, BrowserRequestFollowsTheHttpOpenCommand)
{
    const std::wstring url = L"http://host.example/page";
    struct Row {
        const wchar_t* command;
        bool internetExplorer;
    };
    const Row rows[] = {
        {L"\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" -nohome", true},
        {L"\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\"", false},
        {L"", false},
        {L"C:\\windows\\system32\\winebrowser.exe -nohome", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.command)));
        const Request request = ZorviSetupCore::browserRequest(url, row.command);
        EXPECT_EQ(request.internetExplorer, row.internetExplorer);
        EXPECT_EQ(request.file, row.internetExplorer ? L"iexplore.exe" : url);
        EXPECT_EQ(request.parameters, row.internetExplorer ? url : L"-new");
    }
}

TEST(PostInstallHelpers, ProgramArgumentIsQuotedAndNeverSearchedFor)
{
    test::TempFolder folder(L"run");
    test::TempFolder scratch(L"rec");
    test::StubRecord record(scratch / L"record.txt");
    ASSERT_TRUE(test::copyStub(L"zorvirun.exe", folder / L"helper.exe"));
    ASSERT_TRUE(ZorviSetupCore::runProcess(folder / L"helper.exe", L"a b", folder.path().c_str(), true));
    test::StubLine line;
    ASSERT_TRUE(record.waitFor(L"end", L"helper.exe", 0)) << "waited for";
    ASSERT_TRUE(record.waitFor(L"start", L"helper.exe", 0, &line));
    EXPECT_EQ(line.commandLine, L"\"" + folder.path() + L"helper.exe\" \"a b\"");
    EXPECT_EQ(trimmedFolder(line.workingFolder), trimmedFolder(folder.path()));
    // A long argument is passed whole, never cut inside a fixed buffer.
    const std::wstring longArgument(3000, L'x');
    ASSERT_TRUE(ZorviSetupCore::runProcess(folder / L"helper.exe", longArgument.c_str(), nullptr, true));
    const std::vector<test::StubLine> lines = record.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].commandLine, L"\"" + folder.path() + L"helper.exe\" \"" + longArgument + L"\"");
    // The program is taken as named: no extension added, no search along the PATH.
    const std::wstring saved = currentFolder();
    SetCurrentDirectoryW(folder.path().c_str());
    const bool started = ZorviSetupCore::runProcess(L"helper", nullptr, nullptr, true);
    SetCurrentDirectoryW(saved.c_str());
    EXPECT_FALSE(started);
    EXPECT_FALSE(ZorviSetupCore::runProcess(folder / L"missing.exe", nullptr, nullptr, false));
}

TEST(PostInstallHelpers, HexTextAndSystemBits)
{
    EXPECT_EQ(ZorviSetupCore::hexText(L"launch_type:type^=^zorvidesklnk"),
              L"6C61756E63685F747970653A747970655E3D5E7A6F7276696465736B6C6E6B");
    EXPECT_EQ(ZorviSetupCore::hexText(L""), L"");
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    EXPECT_EQ(ZorviSetupCore::getSystemBits(), info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? 64 : 32);
}

// The stand-in client that other tests close or terminate.
TEST(SampleStubs, ClientClosesOnQuitRequestUnlessToldToIgnoreIt)
{
    test::TempFolder folder(L"client");
    test::TempFolder scratch(L"rec");
    test::StubRecord record(scratch / L"record.txt");
    ASSERT_TRUE(test::copyStub(L"Zorvi.exe", folder / L"Zorvi.exe"));
    for (const wchar_t* arguments : {L"", L"-ignorequit"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(arguments)));
        const bool ignores = *arguments != L'\0';
        std::wstring commandLine = L"\"" + folder.path() + L"Zorvi.exe\" " + arguments;
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION info = {};
        ASSERT_TRUE(CreateProcessW((folder / L"Zorvi.exe").c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &info));
        UniqueHandle process(info.hProcess), thread(info.hThread);
        HWND window = nullptr;
        for (int i = 0; i < 200 && !window; ++i, Sleep(50))
            window = findProcessWindow(info.dwProcessId,
                                       L"TENVALE SPEAK MAIN FRAME | 4D1BB563-E5FC-4771-AD17-6442A4147044");
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_APP + 601, 0, 0);
        const DWORD waited = WaitForSingleObject(process.get(), ignores ? 1000 : 30000);
        EXPECT_EQ(waited, ignores ? static_cast<DWORD>(WAIT_TIMEOUT) : static_cast<DWORD>(WAIT_OBJECT_0));
        if (waited == WAIT_TIMEOUT) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 10000);
        }
        const auto lines = record.lines();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const test::StubLine& l) {
            return l.kind == L"quit-request" && l.processId == info.dwProcessId;
        }));
    }
}

} // namespace
