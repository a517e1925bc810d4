#pragma once
// The setup controller: chooses the install model from the command line, runs the environment
// check, and turns what the tasks report into window messages (normal model) or into the process
// exit code (silent model: 0 done, -1 another installer runs, -3 invalid path, -4 the client runs
// from the install folder, -5 extraction failed).

#include <memory>
#include <string>

#include "SetupInterfaces.h"

class ZorviSetupCore;
class ZorviSetupUI;

class ZorviSetupControl final : public ISetupControl, public ISetupControlSink {
public:
    ZorviSetupControl();
    ~ZorviSetupControl() override;  // waits for running tasks without limit
    ZorviSetupControl(const ZorviSetupControl&) = delete;
    ZorviSetupControl& operator=(const ZorviSetupControl&) = delete;

    // Reads the command line (the process's own when null) and starts the chosen model. In the
    // silent model all work, and the quit request with the exit code, happens before this returns.
    void startSetup(const wchar_t* commandLine = nullptr);

    // ISetupControl
    void setSetupPath(const std::wstring& path) override;
    void forceQuit() override;
    void startDecompress(bool async) override;
    void stopDecompress() override;
    void quitSetup() override;
    void runZorvi() override;
    void setAutoRun() override;
    void viewReleaseNote() override;
    void collectTenvale() override;
    void openHomePage() override;
    void createPelioShortcut() override;

    // ISetupControlSink
    void onCheckResult(int result) override;
    void onZorviRunning() override;
    void onDecompressBegin() override;
    void onDecompressProgress(int index, int total) override;
    void onDecompressFinish(bool ok) override;

    bool silent() const { return m_silent; }
    const std::wstring& setupPath() const { return m_setupPath; }
    ZorviSetupCore& core() { return *m_core; }

    // Logs the code and posts WM_QUIT with it.
    static void quitApplication(int code);

private:
    ZorviSetupUI* m_ui;
    std::unique_ptr<ZorviSetupCore> m_core;
    std::wstring m_setupPath;
    bool m_silent = false;
};
