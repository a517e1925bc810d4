#include "LxApplication.h"

#include <windows.h>

#include "LxAssignLib.h"
#include "LxDeferredDeleter.h"
#include "LxSingleton.h"
#include "LxWeakRef.h"
#include "LxWindow.h"

LX_DEFINE_CLASS(LxApplication, lxTypeTag("LAPP"), LxRttiObject)

namespace {
LxApplication* g_instance = nullptr;
}

LxApplication::LxApplication()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    path[length < std::size(path) ? length : 0] = 0;
    m_dirPath = folderOf(path);
    g_instance = this;
    LxWeakRegistry::instance();
    LxDeferredDeleter::instance();
    LxAssignLib::instance()->installDefaults();
}

LxApplication::~LxApplication()
{
    m_closing = true;
    while (!m_windows.isEmpty()) {
        LxWindow* window = m_windows.first();
        // A window that cannot be destroyed (another thread's) leaves the registry all the same.
        if (!window->hwnd() || !DestroyWindow(window->hwnd()))
            m_windows.remove(window);
    }
    if (LxDeferredDeleter* deleter = LxDeferredDeleter::existing())
        deleter->flush();
    if (LxAssignLib* assigns = LxSingleton<LxAssignLib>::existing())
        assigns->reset();
    if (g_instance == this)
        g_instance = nullptr;
}

LxApplication* LxApplication::instance()
{
    return g_instance;
}

int LxApplication::exec()
{
    MSG msg;
    if (m_windows.isEmpty()) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return 0;
    }
    for (;;) {
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == -1)
            continue;
        if (result == 0)
            return static_cast<int>(msg.wParam);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void LxApplication::quit()
{
    PostQuitMessage(0);
}

void LxApplication::registerWindow(LxWindow* window)
{
    if (window)
        m_windows.insert(window);
}

void LxApplication::unregisterWindow(LxWindow* window)
{
    if (!m_windows.remove(window))
        return;
    // While the application closes its windows itself there is no loop left to end.
    if (m_windows.isEmpty() && !m_closing)
        PostQuitMessage(0);
}

LxString LxApplication::folderOf(const wchar_t* path)
{
    const wchar_t* cut = nullptr;
    for (const wchar_t* p = path; p && *p; ++p)
        if (*p == L'\\' || *p == L'/')
            cut = p;
    return cut ? LxString(path, static_cast<std::size_t>(cut - path)) : LxString(path);
}
