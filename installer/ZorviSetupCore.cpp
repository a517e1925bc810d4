#include "ZorviSetupCore.h"

#include <process.h>

#include "Paths.h"
#include "SetupLog.h"
#include "ZorviSetupChecker.h"
#include "ZorviSetupDecompressor.h"

ZorviSetupCore::ZorviSetupCore(ISetupControlSink* sink)
    : m_checker(std::make_unique<ZorviSetupChecker>()), m_decompressor(std::make_unique<ZorviSetupDecompressor>())
{
    m_checker->setSink(sink);
    m_decompressor->setSink(sink);
}

ZorviSetupCore::~ZorviSetupCore()
{
    m_checker->stop();
    m_checker.reset();
    m_decompressor->stop();
    m_decompressor.reset();
    // The thread logs to the process-wide log, which must outlive it.
    waitInstallCrt(2000);
}

ISetupCheckTask& ZorviSetupCore::checkTask()
{
    return *m_checker;
}

ISetupDecompressTask& ZorviSetupCore::decompressTask()
{
    return *m_decompressor;
}

std::wstring ZorviSetupCore::normalizeInstallPath(const std::wstring& path)
{
    std::wstring result = withBackslash(path);
    if (result.size() == 3)
        result += L"tenvale\\zorvi\\";
    return result;
}

void ZorviSetupCore::setSetupPath(const std::wstring& path)
{
    m_installPath = normalizeInstallPath(path);
    m_decompressor->setInstallPath(m_installPath);
}

void ZorviSetupCore::startInstallCrt()
{
    if (m_crtThread) {
        logPrint(L"ZorviSetupCore::startInstallCrt, already started.");
        return;
    }
    auto* path = new std::wstring(m_installPath);
    const uintptr_t thread = _beginthreadex(nullptr, 0, &ZorviSetupCore::_installCrt, path, 0, nullptr);
    if (thread == 0) {
        delete path;
        logPrint(L"ZorviSetupCore::startInstallCrt, _beginthreadex fail.");
        return;
    }
    m_crtThread.reset(reinterpret_cast<HANDLE>(thread));
}

void ZorviSetupCore::waitInstallCrt(DWORD timeoutMs)
{
    if (!m_crtThread)
        return;
    if (WaitForSingleObject(m_crtThread.get(), timeoutMs) == WAIT_TIMEOUT) {
        logPrint(L"ZorviSetupCore::waitInstallCrt, runtime-assembly thread still runs, terminate it.");
        TerminateThread(m_crtThread.get(), 0);
    }
    m_crtThread.reset();
}
