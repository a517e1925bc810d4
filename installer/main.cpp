// ZorviSetup entry: log banner, toolkit application, controller, message loop; the exit code is the
// quit code.

#include <windows.h>

#include "LxApplication.h"
#include "SetupLog.h"
#include "SystemLibrary.h"
#include "ZorviSetupControl.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int)
{
    restrictDllSearchToSystemFolder();
    logSetFileName(L"setupV2.log");
    logPrint(L"\n\n--------------------------------- Setup start, command line is %ls ----------------------------",
             commandTail ? commandTail : L"");

    int exitCode = 0;
    {
        LxApplication app;
        ZorviSetupControl control;
        control.startSetup();
        exitCode = app.exec();
        logPrint(L"-------------------------------------end install---------------------------------------------------\n\n");
    }
    return exitCode;
}
