// ZorviSetup entry: log banner, controller, message loop; the exit code is the quit code.

#include <windows.h>

#include "MessageLoop.h"
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
        ZorviSetupControl control;
        control.startSetup();
        exitCode = runPlainMessageLoop();
        logPrint(L"-------------------------------------end install---------------------------------------------------\n\n");
    }
    return exitCode;
}
