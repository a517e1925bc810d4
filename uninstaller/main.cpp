// Uninstall entry: log banner, toolkit application, controller, message loop; the exit code is the
// quit code.

#include <windows.h>

#include "LxApplication.h"
#include "SetupLog.h"
#include "SystemLibrary.h"
#include "ZorviUninstallControl.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int)
{
    restrictDllSearchToSystemFolder();
    logSetFileName(L"unistV2.log");
    logPrint(L"\r\n\r\nUninstall start, command line is %ls", commandTail ? commandTail : L"");

    int exitCode = 0;
    {
        LxApplication app;
        ZorviUninstallControl control;
        control.uninstall();
        exitCode = app.exec();
    }
    return exitCode;
}
