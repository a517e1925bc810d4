#include "ZorviSetupDecompressor.h"

#include "SetupLog.h"

ZorviSetupDecompressor::~ZorviSetupDecompressor()
{
    CWorkerThread::stop();
}

bool ZorviSetupDecompressor::start(bool async)
{
    if (async)
        return CWorkerThread::start(0, false);
    return _syncDecompress();
}

void ZorviSetupDecompressor::stop()
{
    CWorkerThread::stop();
}

void ZorviSetupDecompressor::execute()
{
    _syncDecompress();
}

bool ZorviSetupDecompressor::_syncDecompress()
{
    logPrint(L"ZorviSetupDecompressor::_syncDecompress, this build has no payload to extract.");
    if (m_sink)
        m_sink->onDecompressFinish(false);
    return false;
}
