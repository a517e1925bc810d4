#pragma once
// The faces through which the uninstaller's controller, tasks and windows meet. The prompt window
// calls IUninstallControl on the main thread; tasks report through IUninstallControlSink on their
// own thread; the controller drives the windows only through IUninstallUI, which posts the
// MSG_UNINST_* messages below.

#include <windows.h>

#include <string>

enum UninstallMessage : UINT {
    MSG_UNINST_CLIENT_RUNNING = WM_USER + 200,  // to the prompt window
    MSG_UNINST_PROGRESS = WM_USER + 201,        // to the progress window; lParam: new double, receiver deletes
    MSG_UNINST_PROMPT_DONE = WM_USER + 202,     // to the prompt window
    MSG_UNINST_CLEAN_FINISH = WM_USER + 203,    // to the progress window
};

enum UninstallModel {
    UninstallModelNormal = 0,         // confirmation, client check, self-copy started with -delete
    UninstallModelSilent = 1,         // self-copy started at once with -silencedelete
    UninstallModelDelete = 2,         // progress window, cleaner on its thread, registry and shortcuts
    UninstallModelSilentDelete = 3,   // cleaner on the main thread, nothing else
};

class IUninstallControl {
public:
    virtual ~IUninstallControl() = default;
    // Starts a new client-check pass on its own thread.
    virtual void startCheck() = 0;
};

class IUninstallControlSink {
public:
    virtual ~IUninstallControlSink() = default;
    virtual void onClientRunning() = 0;
    virtual void onCheckPassed() = 0;
    virtual void onCleanProgress(const std::wstring& name, int done, int total) = 0;
    virtual void onCleanFinish() = 0;
};

class IUninstallUI {
public:
    virtual ~IUninstallUI() = default;
    virtual void showPromptUI() = 0;
    virtual void showClientRunning() = 0;
    virtual void closePrompt() = 0;
    virtual void showMainUI() = 0;
    virtual void setProgress(const std::wstring& name, int done, int total) = 0;
    virtual void showCleanFinish() = 0;
    virtual void setControl(IUninstallControl* control) = 0;
};
