#pragma once
// The faces through which the installer's controller, tasks and windows meet. Windows call
// ISetupControl on the main thread; tasks report through ISetupControlSink on their own thread; the
// controller drives the windows only through ISetupUI, which posts the MSG_* messages below.

#include <windows.h>

#include <string>

enum SetupCheckResult {
    CR_Success = 0,     // the environment allows installing
    CR_SetupExist = 1,  // another installer holds the single-instance mutex
};

enum SetupMessage : UINT {
    MSG_SETUP_EXIST = WM_USER + 102,          // to the check window
    MSG_SHOW_MAIN_UI = WM_USER + 104,         // to the check window; wParam: new wchar_t[] path, receiver deletes
    MSG_ZORVI_RUNNING = WM_USER + 105,        // to the main window
    MSG_DECOMPRESS_PROGRESS = WM_USER + 107,  // wParam: zero-based item index, lParam: item count
    MSG_DECOMPRESS_FINISH = WM_USER + 108,
    MSG_QUIT_SETUP = WM_USER + 109,
    MSG_DECOMPRESS_BEGIN = WM_USER + 110,
};

enum SetupModel { SetupModelNormal = 0, SetupModelSilent = 1 };

class ISetupControl {
public:
    virtual ~ISetupControl() = default;
    virtual void setSetupPath(const std::wstring& path) = 0;
    virtual void forceQuit() = 0;
    virtual void startDecompress(bool async) = 0;
    virtual void stopDecompress() = 0;
    virtual void quitSetup() = 0;
    virtual void runZorvi() = 0;
    virtual void setAutoRun() = 0;
    virtual void viewReleaseNote() = 0;
    virtual void collectTenvale() = 0;
    virtual void openHomePage() = 0;
    virtual void createPelioShortcut() = 0;
};

class ISetupControlSink {
public:
    virtual ~ISetupControlSink() = default;
    virtual void onCheckResult(int result) = 0;
    virtual void onZorviRunning() = 0;
    virtual void onDecompressBegin() = 0;
    virtual void onDecompressProgress(int index, int total) = 0;
    virtual void onDecompressFinish(bool ok) = 0;
};

class ISetupUI {
public:
    virtual ~ISetupUI() = default;
    virtual void showCheckUI() = 0;
    virtual void showSetupMainUI(const std::wstring& path) = 0;
    virtual void setControl(ISetupControl* control) = 0;
    virtual void onShowZorviRunning() = 0;
    virtual void onShowSetupExist() = 0;
    virtual void onDecompressBegin() = 0;
    virtual void onDecompressProgress(int index, int total) = 0;
    virtual void onPrepareShowMainUI(const std::wstring& path) = 0;
    virtual void onDecompressFinish() = 0;
    virtual void onQuitSetup() = 0;
};

class ISetupCheckTask {
public:
    virtual ~ISetupCheckTask() = default;
    // Asynchronously: starts the worker thread and tells whether it started. Synchronously: runs the
    // check on the calling thread and returns true.
    virtual bool start(bool async) = 0;
    virtual void stop() = 0;
    virtual void setSink(ISetupControlSink* sink) = 0;
};

class ISetupDecompressTask {
public:
    virtual ~ISetupDecompressTask() = default;
    virtual bool start(bool async) = 0;
    virtual void stop() = 0;
    virtual void setSink(ISetupControlSink* sink) = 0;
    virtual void forceQuit() = 0;
    virtual void setInstallPath(const std::wstring& path) = 0;
};
