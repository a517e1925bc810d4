#pragma once
// The installer's core: owns the check and extraction tasks, the install path and the
// runtime-assembly thread. Its post-install and finishing operations run on the calling thread.

#include <functional>
#include <memory>
#include <string>

#include "ClientVersion.h"
#include "SetupInterfaces.h"
#include "UniqueResource.h"

class ZorviSetupChecker;
class ZorviSetupDecompressor;

class ZorviSetupCore {
public:
    explicit ZorviSetupCore(ISetupControlSink* sink);
    // Stops and deletes the check task, then the extraction task; then waits for the runtime-assembly
    // thread as waitInstallCrt(2000) does.
    ~ZorviSetupCore();
    ZorviSetupCore(const ZorviSetupCore&) = delete;
    ZorviSetupCore& operator=(const ZorviSetupCore&) = delete;

    ISetupCheckTask& checkTask();
    ISetupDecompressTask& decompressTask();

    // Install path = path with a trailing backslash (an empty path stays empty), and
    // "tenvale\zorvi\" appended to a bare drive root; handed to the extraction task.
    void setSetupPath(const std::wstring& path);
    const std::wstring& installPath() const { return m_installPath; }
    static std::wstring normalizeInstallPath(const std::wstring& path);

    // Starts the runtime-assembly thread with its own copy of the install path.
    void startInstallCrt();
    // Waits for the runtime-assembly thread at most timeoutMs and ends it if it still runs.
    void waitInstallCrt(DWORD timeoutMs);

    // ---- Post-install actions --------------------------------------------------------------
    // All paths below are built from the install path P and the version folder V = P + "8.7.0.1".
    // Every operation that uses P needs it absolute (drive or UNC): without that it logs and does
    // nothing, so that no helper program is looked up relative to the current folder.
    static constexpr const wchar_t* kVersionFolder = kClientVersionFolder;
    static constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorvi8";
    static constexpr const wchar_t* kZorviKey = L"Software\\tenvale\\zorvi";
    static constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const wchar_t* kProductHomePage = L"http://zorvi.tenvale.com/";
    static constexpr const wchar_t* kReleaseNotesPage = L"http://zorvi.tenvale.com/zorvi8";
    static constexpr const wchar_t* kPortalHomePage = L"http://www.tenvale.com/?zorvi";
    static constexpr const wchar_t* kPortalFavouritePage = L"http://www.tenvale.com/index3.html";

    // After a successful extraction: registry values and uninstall entry, shortcuts, pinned
    // shortcuts re-pointed, helper programs run, Winsock category. Each step is independent; failures
    // are logged and the next step runs.
    void doAfterDecompress();
    // HKCU values "InstallDir", "RootPath" (P) and the uninstall entry "Zorvi8"; REG_SZ with their
    // terminator. A key that cannot be created is logged and its values are left as they were.
    void _writeRegedit();
    void _createShortcuts();
    void _retargetPinnedShortcuts();
    void _do3XUpdate();
    void runInstallstat();
    void runZorviRun();
    void _runLiveShow();
    // WSCSetApplicationCategory(path, LSP_SYSTEM) of the system's Ws2_32.dll; false for an empty
    // path, a missing library or export, or a non-zero result.
    static bool CustomLsp(const std::wstring& appFilePath);

    // Finishing operations of the finish page (main thread).
    void runZorvi();
    // Run value "Zorvi" = P + "Zorvi.exe", quoted when it holds a blank. Nothing when the Run key
    // cannot be opened.
    void setAutoRun();
    void viewReleaseNote();
    // Favourites + "\Tenvale游戏网.url", replaced; UTF-16 LE with byte-order mark, no terminator.
    void collectTenvale();
    void openHomePage();
    // Desktop "Pelio游戏.lnk" to the game box; nothing when V + "\image\pelio.ico" is missing.
    void createPelioShortcut();

    // ---- Helpers ------------------------------------------------------------------------------
    // Creates or overwrites the shortcut file: target as path, icon (index 0) unless empty,
    // working folder = the data folder. False, and nothing written, when COM or the save fails.
    bool _createShortcut(const std::wstring& target, const std::wstring& shortcutFile, const std::wstring& icon);
    // Each *.lnk directly in folder whose target file is zorvilauncher.exe or Zorvi.exe (any case)
    // in another folder than newTarget's gets newTarget as path and the data folder as working
    // folder. Other shortcuts stay untouched.
    void retargetShortcuts(const std::wstring& folder, const std::wstring& newTarget);

    // Starts program (always named as the application, so nothing is searched for) with the command
    // line "\"program\" \"argument\"" or, without argument, the program path as it stands; in folder
    // or the caller's folder; waits for its end when asked. False when it did not start.
    static bool runProcess(const std::wstring& program, const wchar_t* argument, const wchar_t* folder, bool wait);
    // 64 on an x64 or IA-64 system, else 32.
    static int getSystemBits();
    // Upper-case hexadecimal, two digits for each character's low byte.
    static std::wstring hexText(const std::wstring& text);
    // A path as a registry command: in double quotes when it holds a blank, else unchanged.
    static std::wstring quotedWhenBlank(const std::wstring& path);

    // What openUrl hands to the shell: Internet Explorer with the URL as parameter, or the URL itself
    // opened with "-new" as parameters.
    struct ShellOpenRequest {
        bool internetExplorer = false;
        std::wstring file;
        std::wstring parameters;
    };
    using UrlLauncher = std::function<void(const ShellOpenRequest&)>;
    // The request for url given the text of HKCR "http\shell\open\command".
    static ShellOpenRequest browserRequest(const std::wstring& url, const std::wstring& httpOpenCommand);
    // Opens url in the browser through the launcher (the shell by default; tests replace it).
    void openUrl(const std::wstring& url);
    void setUrlLauncher(UrlLauncher launcher) { m_urlLauncher = std::move(launcher); }
    static void shellOpen(const ShellOpenRequest& request);

private:
    bool _hasInstallPath(const wchar_t* operation) const;
    std::wstring versionFolder() const { return m_installPath + kVersionFolder; }

    // Procedure of the runtime-assembly thread (ZorviSetupCoreCrt.cpp): installs the runtime assembly
    // of the install path it is handed, deletes that heap copy and returns 0.
    static unsigned __stdcall _installCrt(void* installPathCopy);

    std::unique_ptr<ZorviSetupChecker> m_checker;
    std::unique_ptr<ZorviSetupDecompressor> m_decompressor;
    std::wstring m_installPath;
    UniqueHandle m_crtThread;
    UrlLauncher m_urlLauncher = &ZorviSetupCore::shellOpen;
};
