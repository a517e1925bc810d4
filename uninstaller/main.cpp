// Uninstall entry: the log banner and the toolkit application so far; removal comes with the
// uninstaller's controller.

#include <windows.h>

#include "LxApplication.h"
#include "SetupLog.h"
#include "SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int)
{
    restrictDllSearchToSystemFolder();
    logSetFileName(L"unistV2.log");
    logPrint(L"\r\n\r\nUninstall start, command line is %ls", commandTail ? commandTail : L"");
    LxApplication app;
    return app.exec();
}
