#pragma once
// Resource mappings: the byte stores behind URL schemes. LxResourceMapping keeps a table from URL
// text to bytes; LxResourceMappingDLL ("dll") holds the embedded resource tables compiled into the
// program; LxResourceMappingFile ("file") serves its table first and otherwise reads the file named
// by the URL's path from disk (without keeping it). Failed reads give empty bytes.

#include "LxContainers.h"
#include "LxRttiObject.h"
#include "LxUrl.h"

class LxResourceMapping : public LxRttiObject {
    LX_DECLARE_CLASS(LxResourceMapping)

public:
    LxResourceMapping() = default;
    ~LxResourceMapping() override = default;

    virtual bool exists(const LxUrl& url) const;
    // The bytes stored under the URL's text, or empty bytes.
    virtual LxByteArray read(const LxUrl& url) const;
    // Stores (or replaces) the bytes under the URL's text.
    virtual bool add(const LxUrl& url, const LxByteArray& bytes);
    // Direct access to the bytes of a URL that is present (a static empty array otherwise).
    virtual LxByteArray& entry(const LxUrl& url);
    virtual bool query(const LxString& argument) const;

    std::size_t entryCount() const { return m_table.size(); }

protected:
    LxMap<LxString, LxByteArray> m_table;
};

class LxResourceMappingDLL : public LxResourceMapping {
    LX_DECLARE_CLASS(LxResourceMappingDLL)
};

class LxResourceMappingFile : public LxResourceMapping {
    LX_DECLARE_CLASS(LxResourceMappingFile)

public:
    // Table entries first, then GetFileAttributesW of the path; ':'-paths are resource-engine paths
    // and never exist.
    bool exists(const LxUrl& url) const override;
    LxByteArray read(const LxUrl& url) const override;
};
