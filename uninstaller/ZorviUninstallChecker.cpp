#include "ZorviUninstallChecker.h"

#include "ProcessList.h"
#include "Text.h"

ZorviUninstallChecker::~ZorviUninstallChecker()
{
    CWorkerThread::stop();
}

bool ZorviUninstallChecker::startPass()
{
    // An earlier pass can only be one that found the client and now waits for its stop flag: end
    // it here instead of leaving its thread behind.
    if (hasThread())
        CWorkerThread::stop();
    return CWorkerThread::start(0, false);
}

bool ZorviUninstallChecker::isClientRunning() const
{
    const std::wstring client = m_path + L"Zorvi.exe";
    bool running = false;
    forEachProcess([&](const PROCESSENTRY32W& process) {
        if (wcscmp(process.szExeFile, L"Zorvi.exe") == 0 &&
            equalsIgnoreAsciiCase(processImagePath(process.th32ProcessID), client))
            running = true;
        return !running;
    });
    return running;
}

void ZorviUninstallChecker::run()
{
    IUninstallControlSink* sink = m_sink;
    if (!sink)
        return;
    if (isClientRunning()) {
        sink->onClientRunning();
        while (!stopRequested())
            Sleep(10);
        return;
    }
    sink->onCheckPassed();
}
