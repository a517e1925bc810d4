#pragma once
// The toolkit application: one per program, on the stack of the entry function, made before any
// toolkit window. It starts the process-wide services (weak references, deferred deletion), keeps
// the registry of open toplevel windows, runs the message loop and quits the loop by itself when
// the last toplevel window is destroyed. It also runs GDI+ for its lifetime (the image cache is
// cleared before GDI+ shuts down) and installs the default path assigns, which it removes again
// with every program assign when it goes. UI thread only.

#include "LxContainers.h"
#include "LxGdiplus.h"
#include "LxObject.h"
#include "LxRttiObject.h"

class LxWindow;

class LxApplication : public LxObject, public LxRttiObject {
    LX_DECLARE_CLASS(LxApplication)

public:
    LxApplication();
    // Destroys the windows still open, then deletes what deleteLater queued.
    ~LxApplication() override;

    static LxApplication* instance();  // null before construction and after destruction

    // Runs the message loop until WM_QUIT and returns its code. With no toplevel window open it
    // runs no loop: it hands out the messages already queued and returns the code of a quit
    // request posted before (0 when there is none), so windowless runs never block.
    int exec();
    static void quit();

    // Folder of the program file, without a trailing separator.
    const LxString& applicationDirPath() const { return m_dirPath; }

    // Called by LxWindow when its native window handles WM_CREATE and WM_DESTROY; unregistering
    // the last window posts WM_QUIT with 0.
    void registerWindow(LxWindow* window);
    void unregisterWindow(LxWindow* window);
    const LxSet<LxWindow*>& windows() const { return m_windows; }

    // The folder part of a program path: cut before the last "/" or "\", whole path without one.
    static LxString folderOf(const wchar_t* path);

private:
    LxGdiplusSession m_gdiplus;  // first member: started before and shut down after everything else
    LxSet<LxWindow*> m_windows;
    LxString m_dirPath;
    bool m_closing = false;
};
