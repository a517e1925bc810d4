#pragma once
// What the uninstaller tests stand on: an installation laid out as the installer leaves it, the
// user state that the uninstaller changes (saved and restored around each test, with the user's
// shell folders redirected into a fresh folder), the test stub program and the uninstaller's log.

#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "UniqueResource.h"

namespace uninstall_test {

extern const wchar_t kRegistryKey[];      // "Software\tenvale\zorvi"
extern const wchar_t kUninstallKey[];     // "...\CurrentVersion\Uninstall\Zorvi8"
extern const wchar_t kRunKey[];           // "...\CurrentVersion\Run"

std::wstring uninstallExe();  // the built Uninstall.exe
std::wstring stubExe();       // the built test stub program
std::wstring workFolder();    // "<data folder>setup\uninstall\"

// A log of the data folder's "setup" folder from the moment of construction on: by default the
// uninstaller's; this process itself logs to "setupV2.log".
class LogWatch {
public:
    explicit LogWatch(const wchar_t* fileName = L"unistV2.log");
    std::wstring text() const;

private:
    std::wstring m_path;
    size_t m_start;
};

bool keyExists(const wchar_t* subKey);
bool runValueExists();

// The registry keys and values the uninstaller removes, saved and emptied on construction and put
// back on destruction; meanwhile the user's desktop, programs, start-menu and documents folders
// point into a fresh folder of their own. The stub record file is named in %ZORVI_STUB_RECORD%.
class UserStateGuard {
public:
    UserStateGuard();
    ~UserStateGuard();
    UserStateGuard(const UserStateGuard&) = delete;
    UserStateGuard& operator=(const UserStateGuard&) = delete;

    std::wstring desktop() const { return m_shell.path() + L"Desktop"; }
    std::wstring programs() const { return m_shell.path() + L"Start Menu\\Programs"; }
    std::wstring startMenu() const { return m_shell.path() + L"Start Menu"; }
    std::wstring documents() const { return m_shell.path() + L"Documents"; }
    // Points the documents folder somewhere else (restored with the rest).
    void setDocuments(const std::wstring& folder);
    // The lines the stub tools wrote so far.
    std::vector<std::wstring> records() const;

private:
    struct SavedKey {
        std::wstring subKey;
        std::wstring backup;
        bool existed = false;
    };
    struct SavedValue {
        std::wstring subKey;
        std::wstring name;
        bool existed = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    void redirect(const wchar_t* name, const std::wstring& folder);

    test::TempFolder m_shell{L"shell"};
    std::vector<SavedKey> m_keys;
    std::vector<SavedValue> m_values;
    std::wstring m_recordFile;
};

// An installation laid out as the installer leaves it, in a fresh temp folder: Uninstall.exe (the
// built one), the client Zorvi.exe and the tools zorvirun.exe and installstat.exe in the version
// folder "8.4.0.4" (all copies of the stub), a few data files in subfolders; register() adds the
// registry values, the uninstall entry, the Run value and every shortcut the uninstaller removes.
class FixtureInstallation {
public:
    FixtureInstallation();
    ~FixtureInstallation();  // also removes the setup cache folder that the cleaner makes for it
    FixtureInstallation(const FixtureInstallation&) = delete;
    FixtureInstallation& operator=(const FixtureInstallation&) = delete;
    const std::wstring& path() const { return m_folder.path(); }  // ends in a backslash
    std::wstring folder() const { return path().substr(0, path().size() - 1); }
    std::wstring operator/(const std::wstring& name) const { return path() + name; }

    void registerWith(const UserStateGuard& user);
    // Every shortcut file that register() creates.
    static std::vector<std::wstring> shortcutFiles(const UserStateGuard& user);

private:
    test::TempFolder m_folder{L"inst"};
};

using test::RunningProgram;

// Waits at most timeoutMs until no process runs whose program lies below folder.
bool waitForProcessesBelow(const std::wstring& folder, DWORD timeoutMs);
// Waits at most timeoutMs until path no longer exists.
bool waitUntilGone(const std::wstring& path, DWORD timeoutMs);

} // namespace uninstall_test
