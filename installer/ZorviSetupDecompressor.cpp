#include "ZorviSetupDecompressor.h"

#include "ClientShutdown.h"
#include "SetupCleanup.h"
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

void ZorviSetupDecompressor::forceQuit()
{
    logPrint(L"ZorviSetupDecompressor::forceQuit, User want to force quit Zorvi.");
    m_forceQuit.store(true);
}

HGLOBAL ZorviSetupDecompressor::_load7zDataFromResource(DWORD* size)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(101), L"zip");
    if (!resource) {
        logPrint(L"ZorviSetupDecompressor::_load7zDataFromResource, Find resource(zorvi.7z) fail.");
        return nullptr;
    }
    HGLOBAL data = LoadResource(module, resource);
    if (!data) {
        logPrint(L"ZorviSetupDecompressor::_load7zDataFromResource, Load resource(zorvi.7z) fail.");
        return nullptr;
    }
    *size = SizeofResource(module, resource);
    return data;
}

bool ZorviSetupDecompressor::_decompress()
{
    DWORD size = 0;
    HGLOBAL resource = _load7zDataFromResource(&size);
    if (!resource) {
        logPrint(L"ZorviSetupDecompressor::_decompress, _load7zDataFromResource fail.");
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(LockResource(resource));
    return extractArchive(bytes, size, m_installPath, m_sink, this);
}

void ZorviSetupDecompressor::execute()
{
    logPrint(L"ZorviSetupDecompressor::execute, aync decompress.");
    bool result = true;
    const ZorviClientShutdown clients(m_installPath);
    DWORD pid = 0;
    if (clients._isZorviRunning(&pid)) {
        if (m_sink)
            m_sink->onZorviRunning();
        while (!stopRequested()) {
            if (m_forceQuit.load()) {
                clients.closeRunningClients();
                break;
            }
            Sleep(10);
        }
    }
    if (stopRequested())
        return;
    if (m_sink)
        m_sink->onDecompressBegin();
    clients.terminateVersionFolderProcesses();
    cleanUpFile(m_installPath);
    if (!_decompress()) {
        logPrint(L"ZorviSetupDecompressor::execute, _decompress return false.");
        result = false;
    }
    if (m_sink)
        m_sink->onDecompressFinish(result);
}

bool ZorviSetupDecompressor::_syncDecompress()
{
    logPrint(L"ZorviSetupDecompressor::_syncDecompress begin [silence model].");
    const ZorviClientShutdown clients(m_installPath);
    DWORD pid = 0;
    if (clients._isZorviRunning(&pid)) {
        logPrint(L"ZorviSetupDecompressor::_syncDecompress, _isZorviRunning return true.");
        if (m_sink)
            m_sink->onZorviRunning();
        return false;
    }
    clients.terminateVersionFolderProcesses();
    bool result = false;
    DWORD size = 0;
    if (HGLOBAL resource = _load7zDataFromResource(&size)) {
        cleanUpFile(m_installPath);
        const auto* bytes = static_cast<const unsigned char*>(LockResource(resource));
        result = extractArchive(bytes, size, m_installPath, m_sink, nullptr);
    }
    if (m_sink)
        m_sink->onDecompressFinish(result);
    return result;
}
