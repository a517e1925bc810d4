#pragma once
// The uninstaller's core: the install folder, the silent flag, the self-copy and restart, the
// removal of registry entries and shortcuts, and the two tasks (client check, file cleaner), which
// it owns and stops on destruction.

#include <memory>
#include <string>

#include "UninstallInterfaces.h"

class ZorviUninstallChecker;
class ZorviFileCleaner;

class ZorviUninstallCore {
public:
    explicit ZorviUninstallCore(IUninstallControlSink* sink);
    ~ZorviUninstallCore();  // stops the check task, then the file cleaner, each without time limit
    ZorviUninstallCore(const ZorviUninstallCore&) = delete;
    ZorviUninstallCore& operator=(const ZorviUninstallCore&) = delete;

    // Install folder = path with a trailing backslash.
    void setPath(const std::wstring& path);
    const std::wstring& path() const { return m_path; }
    // Silent: neither task reports anything from now on (so no registry or shortcut removal).
    void setSilent(bool silent);
    bool silent() const { return m_silent; }

    // A new client-check pass for the install folder on its own thread.
    void startCheck();
    // Runs the file cleaner on its worker thread (async) or on the calling thread.
    void startClean(bool async);

    // Copies this program into a new GUID-named folder below "<data folder>setup\uninstall\" (after
    // emptying that folder of earlier copies) and starts the copy with "-delete" or
    // "-silencedelete" and "-path" naming the install folder. Failures are logged; nothing waits
    // for the copy.
    void prepareUninstall();

    // Removes the Run value "Zorvi", the key "Software\tenvale\zorvi" (only when it has no
    // subkeys) and the uninstall entry, all in HKEY_CURRENT_USER. Failures leave the item alone.
    void _deleteRegedit();
    // Removes the client's shortcuts from the user's desktop, programs and start-menu folders, and
    // the programs subfolder "Tenvale" when it is left empty. Nothing at all when the desktop
    // folder cannot be located.
    void _deleteShortcut();

    // "<data folder>setup\uninstall\".
    static std::wstring uninstallWorkFolder();

private:
    std::unique_ptr<ZorviUninstallChecker> m_checker;
    std::unique_ptr<ZorviFileCleaner> m_cleaner;
    std::wstring m_path;
    bool m_silent = false;
};
