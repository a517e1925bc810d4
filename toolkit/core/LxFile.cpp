#include "LxFile.h"

#include <windows.h>

#include "DebugMessage.h"

namespace {

LxList<LxFileEngineHandler*>& handlers()
{
    static LxList<LxFileEngineHandler*> list;
    return list;
}

class NativeHandler : public LxFileEngineHandler {
public:
    std::unique_ptr<LxFileEngine> createEngine(const LxString& path) override
    {
        return std::make_unique<LxNativeFileEngine>(path);
    }
};

class ResourceHandler : public LxFileEngineHandler {
public:
    std::unique_ptr<LxFileEngine> createEngine(const LxString& path) override
    {
        if (path.size() > 0 && path.c_str()[0] == L':')
            return std::make_unique<LxResourceFileEngine>();
        return nullptr;
    }
};

// Registered in this order, so the resource handler is asked first.
struct Handlers {
    NativeHandler native;
    ResourceHandler resource;
};

Handlers& installedHandlers()
{
    static Handlers value;
    return value;
}

const bool g_handlersInstalled = (installedHandlers(), true);

}  // namespace

LxFileEngineHandler::LxFileEngineHandler()
{
    handlers().edit().insert(handlers().edit().begin(), this);
}

LxFileEngineHandler::~LxFileEngineHandler()
{
    handlers().removeAll(this);
}

std::unique_ptr<LxFileEngine> LxFileEngineHandler::engineFor(const LxString& path)
{
    (void)g_handlersInstalled;
    installedHandlers();
    const LxList<LxFileEngineHandler*> snapshot = handlers();
    for (LxFileEngineHandler* handler : snapshot)
        if (std::unique_ptr<LxFileEngine> engine = handler->createEngine(path))
            return engine;
    DebugMessage() << L"no file engine for file " << path.c_str();
    return nullptr;
}

// --- native engine

bool LxNativeFileEngine::open(int mode)
{
    DWORD access = 0;
    if (mode & LxOpenRead)
        access |= GENERIC_READ;
    if (mode & LxOpenWrite)
        access |= GENERIC_WRITE;
    const DWORD disposition =
        (mode & LxOpenTruncate) ? CREATE_ALWAYS : (mode & LxOpenWrite) ? OPEN_ALWAYS : OPEN_EXISTING;
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, FALSE};
    m_handle.reset(CreateFileW(m_path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_handle)
        return false;
    if (mode & LxOpenAppend) {
        LARGE_INTEGER zero = {};
        SetFilePointerEx(m_handle.get(), zero, nullptr, FILE_END);
    }
    return true;
}

std::int64_t LxNativeFileEngine::size()
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::int64_t LxNativeFileEngine::pos()
{
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    if (!m_handle || !SetFilePointerEx(m_handle.get(), zero, &position, FILE_CURRENT))
        return 0;
    return position.QuadPart;
}

bool LxNativeFileEngine::atEnd()
{
    return pos() == size();
}

bool LxNativeFileEngine::seek(std::int64_t position)
{
    if (!m_handle || (position >> 32) != 0)
        return false;
    const DWORD low = static_cast<DWORD>(position);
    return SetFilePointer(m_handle.get(), static_cast<LONG>(low), nullptr, FILE_BEGIN) == low;
}

std::int64_t LxNativeFileEngine::read(char* buffer, std::int64_t max)
{
    DWORD done = 0;
    if (!m_handle || max <= 0 || max > MAXDWORD)
        return 0;
    ReadFile(m_handle.get(), buffer, static_cast<DWORD>(max), &done, nullptr);
    return done;
}

std::int64_t LxNativeFileEngine::write(const char* buffer, std::int64_t count)
{
    DWORD done = 0;
    if (!m_handle || count <= 0 || count > MAXDWORD)
        return 0;
    WriteFile(m_handle.get(), buffer, static_cast<DWORD>(count), &done, nullptr);
    return done;
}

void LxNativeFileEngine::close()
{
    m_handle.reset();
}

// --- resource engine

void LxResourceFileEngine::reportNotImplemented()
{
    DebugMessage() << L"LxResourceFileEngine Not implemented";
}

bool LxResourceFileEngine::atEnd()
{
    reportNotImplemented();
    return false;
}

std::int64_t LxResourceFileEngine::pos()
{
    reportNotImplemented();
    return 0;
}

std::int64_t LxResourceFileEngine::size()
{
    reportNotImplemented();
    return 0;
}

bool LxResourceFileEngine::open(int)
{
    reportNotImplemented();
    return false;
}

bool LxResourceFileEngine::seek(std::int64_t)
{
    reportNotImplemented();
    return false;
}

std::int64_t LxResourceFileEngine::read(char*, std::int64_t)
{
    reportNotImplemented();
    return 0;
}

std::int64_t LxResourceFileEngine::write(const char*, std::int64_t)
{
    reportNotImplemented();
    return 0;
}

void LxResourceFileEngine::close()
{
    reportNotImplemented();
}

// --- file

LxFile::LxFile(const LxString& path) : m_path(path), m_engine(LxFileEngineHandler::engineFor(path)) {}

LxFile::~LxFile()
{
    close();
}

bool LxFile::open(int mode)
{
    if (!m_engine || !m_engine->open(mode))
        return false;
    m_mode = mode;
    return true;
}

void LxFile::close()
{
    if (m_engine && m_mode != 0)
        m_engine->close();
    m_mode = 0;
}

bool LxFile::atEnd()
{
    return !m_engine || m_engine->atEnd();
}

std::int64_t LxFile::bytesAvailable()
{
    return m_engine ? m_engine->size() - m_engine->pos() : 0;
}

LxByteArray LxFile::readAll()
{
    const std::int64_t n = bytesAvailable();
    if (n <= 0 || n > 0x7fffffff)
        return LxByteArray();
    LxByteArray bytes;
    auto& buffer = bytes.edit();
    buffer.resize(static_cast<std::size_t>(n));
    const std::int64_t got = m_engine->read(&buffer[0], n);
    buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}
