#include "LxResourceMapping.h"

#include <windows.h>

#include "LxFile.h"

LX_DEFINE_CLASS(LxResourceMapping, lxTypeTag("RMNG"), LxRttiObject)
LX_DEFINE_CLASS(LxResourceMappingDLL, lxTypeTag("RMLL"), LxResourceMapping)
LX_DEFINE_CLASS(LxResourceMappingFile, lxTypeTag("RMFE"), LxResourceMapping)

bool LxResourceMapping::exists(const LxUrl& url) const
{
    return m_table.contains(url.toString());
}

LxByteArray LxResourceMapping::read(const LxUrl& url) const
{
    return m_table.value(url.toString());
}

bool LxResourceMapping::add(const LxUrl& url, const LxByteArray& bytes)
{
    m_table.insert(url.toString(), bytes);
    return true;
}

LxByteArray& LxResourceMapping::entry(const LxUrl& url)
{
    static LxByteArray missing;
    auto& table = m_table.edit();
    const auto it = table.find(url.toString());
    if (it == table.end()) {
        missing = LxByteArray();
        return missing;
    }
    return it->second;
}

bool LxResourceMapping::query(const LxString&) const
{
    return false;
}

bool LxResourceMappingFile::exists(const LxUrl& url) const
{
    if (LxResourceMapping::exists(url))
        return true;
    const LxString& path = url.path();
    if (path.size() > 0 && path.c_str()[0] == L':') {
        LxResourceFileEngine::reportNotImplemented();
        return false;
    }
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LxByteArray LxResourceMappingFile::read(const LxUrl& url) const
{
    const LxString key = url.toString();
    if (m_table.contains(key))
        return m_table.value(key);
    LxFile file(url.path());
    if (!file.open(LxOpenRead))
        return LxByteArray();
    LxByteArray bytes = file.readAll();
    file.close();
    return bytes;
}
