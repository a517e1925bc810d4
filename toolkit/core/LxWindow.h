#pragma once
// LxWindow: the toolkit's native toplevel window (a layered popup of the "DUI_HOST_WINDOW" class).
// Its native window registers with the application when it handles WM_CREATE and unregisters
// when it handles WM_DESTROY, so the application's loop ends when the last one goes.
// UI thread only.

#include <windows.h>

#include "LxObject.h"
#include "LxRttiObject.h"
#include "LxSignal.h"
#include "LxWeakRef.h"

class LxWindow : public LxObject, public LxRttiObject, public LxSignalReceiver {
    LX_DECLARE_CLASS(LxWindow)

public:
    static constexpr DWORD kDefaultStyle = WS_POPUP | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    static constexpr DWORD kDefaultExStyle = WS_EX_LAYERED | WS_EX_APPWINDOW;

    explicit LxWindow(LxObject* parent = nullptr) : LxObject(parent) {}
    // Destroys the native window if it still exists.
    ~LxWindow() override;

    // Makes the native window unless it exists; false when CreateWindowExW failed.
    bool createNativeWindow();
    // Makes the native window when needed, then ShowWindow(showCommand).
    void show(int showCommand);
    // DestroyWindow when a native window exists.
    void close();
    HWND hwnd() const { return m_hwnd; }

    LxSignal<> created;    // the native window handled WM_CREATE
    LxSignal<> destroyed;  // it handles WM_DESTROY
    LxSignal<> finished;   // it handles WM_NCDESTROY

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};
