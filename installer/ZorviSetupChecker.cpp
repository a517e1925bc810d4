#include "ZorviSetupChecker.h"

#include "SetupLog.h"

ZorviSetupChecker::~ZorviSetupChecker()
{
    CWorkerThread::stop();
}

bool ZorviSetupChecker::start(bool async)
{
    if (async)
        return CWorkerThread::start(0, false);
    run();
    return true;
}

void ZorviSetupChecker::stop()
{
    CWorkerThread::stop();
}

bool ZorviSetupChecker::_isSetupExist()
{
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    m_mutex = std::move(mutex);  // held for the rest of the process
    return false;
}

void ZorviSetupChecker::run()
{
    if (_isSetupExist()) {
        logPrint(L"Check step, _isSetupExist return false [CR_SetupExist].");
        if (m_sink)
            m_sink->onCheckResult(CR_SetupExist);
        return;
    }
    logPrint(L"Check step finish, return [CR_Success].");
    if (m_sink)
        m_sink->onCheckResult(CR_Success);
}
