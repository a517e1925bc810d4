#include "LxWindow.h"

#include "LxApplication.h"
#include "LxWindowClass.h"
#include "SetupLog.h"

LX_DEFINE_CLASS(LxWindow, lxTypeTag("WINW"), LxRttiObject)

namespace {
const wchar_t kWindowClass[] = L"DUI_HOST_WINDOW";
}

LxWindow::~LxWindow()
{
    close();
    if (m_hwnd) {
        // The native window survived DestroyWindow: it must not call back into this object.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        if (LxApplication* app = LxApplication::instance())
            app->unregisterWindow(this);
    }
}

bool LxWindow::createNativeWindow()
{
    if (m_hwnd)
        return true;
    static const bool registered = lxRegisterWindowClass(kWindowClass, &LxWindow::windowProc);
    if (!registered) {
        logPrint(L"LxWindow::createNativeWindow, window class not registered, error %d.", static_cast<int>(GetLastError()));
        return false;
    }
    CreateWindowExW(kDefaultExStyle, kWindowClass, nullptr, kDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd)
        logPrint(L"LxWindow::createNativeWindow, CreateWindowExW failed, error %d.", static_cast<int>(GetLastError()));
    return m_hwnd != nullptr;
}

void LxWindow::show(int showCommand)
{
    createNativeWindow();
    ShowWindow(m_hwnd, showCommand);
}

void LxWindow::close()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

LRESULT CALLBACK LxWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* window = static_cast<LxWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->m_hwnd = hwnd;
    }
    auto* window = reinterpret_cast<LxWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        if (LxApplication* app = LxApplication::instance())
            app->registerWindow(window);
        window->created.emit();
        return 0;
    case WM_DESTROY:
        window->destroyed.emit();
        if (LxApplication* app = LxApplication::instance())
            app->unregisterWindow(window);
        return 0;
    case WM_NCDESTROY:
        window->finished.emit();
        window->m_hwnd = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
