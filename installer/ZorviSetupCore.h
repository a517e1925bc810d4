#pragma once
// The installer's core: owns the check and extraction tasks, the install path and the
// runtime-assembly thread. Its post-install and finishing operations run on the calling thread.

#include <memory>
#include <string>

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

    void doAfterDecompress();
    void runZorvi();
    void setAutoRun();
    void viewReleaseNote();
    void collectTenvale();
    void openHomePage();
    void createPelioShortcut();

private:
    // Procedure of the runtime-assembly thread (ZorviSetupCoreCrt.cpp): installs the runtime assembly
    // of the install path it is handed, deletes that heap copy and returns 0.
    static unsigned __stdcall _installCrt(void* installPathCopy);

    std::unique_ptr<ZorviSetupChecker> m_checker;
    std::unique_ptr<ZorviSetupDecompressor> m_decompressor;
    std::wstring m_installPath;
    UniqueHandle m_crtThread;
};
