// The core's runtime-assembly thread: installs the client's "Microsoft.VC90.CRT" assembly from the
// install folder once per extraction. It is started when extraction begins, so on a first
// installation the folder is usually not there yet and nothing is installed.

#include <memory>
#include <string>

#include "InstallAssembly.h"
#include "SetupLog.h"
#include "ZorviSetupCore.h"

unsigned __stdcall ZorviSetupCore::_installCrt(void* installPathCopy)
{
    const std::unique_ptr<std::wstring> path(static_cast<std::wstring*>(installPathCopy));
    logPrint(L"----------------begin install crt----------------------");
    int result = -1;
    if (path) {
        CInstallAssembly assembly;
        result = assembly.installAsm(*path + L"Microsoft.VC90.CRT", *path + L"zorvi.exe");
    }
    logPrint(L"ZorviSetupCore::_installCrt, installAsm return-value is %d.", result);
    logPrint(L"----------------end install crt----------------------");
    return 0;
}
