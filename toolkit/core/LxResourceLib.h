#pragma once
// LxResourceLib: the process-wide map from URL scheme to resource mapping ("dll" for embedded
// tables, "file" for disk), plus the entry points items and widgets load through: imageFromUrl
// (decoded once per URL text through the image cache) and readUrl (raw bytes). A URL that names
// nothing reads as empty bytes and a null image; nothing is reported. UI thread only.

#include <cstdint>

#include "LxContainers.h"
#include "LxImage.h"
#include "LxResourceMapping.h"
#include "LxRttiObject.h"
#include "LxUrl.h"

class LxResourceLib : public LxRttiObject {
    LX_DECLARE_CLASS(LxResourceLib)

public:
    LxResourceLib();
    ~LxResourceLib() override;
    static LxResourceLib* instance();

    // False (nothing changed) for a known scheme, a null record or a class that is not a mapping.
    bool registerMapping(const LxString& scheme, const LxClassInfo* classInfo);
    LxResourceMapping* mapping(const LxString& scheme) const;
    // Empty bytes when no mapping serves the URL's scheme.
    LxByteArray read(const LxUrl& url) const;

private:
    LxMap<LxString, LxResourceMapping*> m_mappings;
};

// Adds a compiled-in table (names with '/' separators, contents back to back in data) to the
// "dll" mapping under "dll:///" + name; entries of size 0 are skipped. Always true.
bool registerEmbeddedResources(int count, const char* const* names, const unsigned char* data,
                               const std::uint32_t* sizes);

LxImage imageFromUrl(const LxUrl& url);
LxByteArray readUrl(const LxUrl& url);
