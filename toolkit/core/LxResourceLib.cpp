#include "LxResourceLib.h"

#include "LxSingleton.h"
#include "LxEmbeddedTable.h"

LX_DEFINE_CLASS(LxResourceLib, lxTypeTag("RLIB"), LxRttiObject)

LxResourceLib::LxResourceLib()
{
    registerMapping(L"dll", LxResourceMappingDLL::staticClassInfo());
    registerMapping(L"file", LxResourceMappingFile::staticClassInfo());
}

LxResourceLib::~LxResourceLib()
{
    for (const auto& item : m_mappings)
        delete item.second;
}

LxResourceLib* LxResourceLib::instance()
{
    return LxSingleton<LxResourceLib>::instance();
}

bool LxResourceLib::registerMapping(const LxString& scheme, const LxClassInfo* classInfo)
{
    if (m_mappings.contains(scheme) || !classInfo || !classInfo->isA(LxResourceMapping::staticClassInfo()))
        return false;
    LxResourceMapping* created = lx_cast<LxResourceMapping>(classInfo->create());
    if (!created)
        return false;
    m_mappings.insert(scheme, created);
    return true;
}

LxResourceMapping* LxResourceLib::mapping(const LxString& scheme) const
{
    return m_mappings.value(scheme, nullptr);
}

LxByteArray LxResourceLib::read(const LxUrl& url) const
{
    const LxResourceMapping* target = mapping(url.scheme());
    return target ? target->read(url) : LxByteArray();
}

bool registerEmbeddedResources(int count, const char* const* names, const unsigned char* data,
                               const std::uint32_t* sizes)
{
    LxResourceLib* lib = LxResourceLib::instance();
    if (!lib->mapping(L"dll"))
        lib->registerMapping(L"dll", LxResourceMappingDLL::staticClassInfo());
    LxResourceMapping* dll = lib->mapping(L"dll");
    std::size_t offset = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t size = sizes[i];
        if (size > 0 && dll) {
            LxString text = L"dll:///";
            for (const char* p = names[i]; *p; ++p) {
                const wchar_t c[2] = {static_cast<wchar_t>(static_cast<unsigned char>(*p)), 0};
                text += c;
            }
            dll->add(LxUrl(text), LxByteArray(reinterpret_cast<const char*>(data + offset), size));
        }
        offset += size;
    }
    return true;
}

namespace {

void registerToolkitTable()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerEmbeddedResources(lxSkinTable.count, lxSkinTable.names, lxSkinTable.data, lxSkinTable.sizes);
}

}  // namespace

LxImage imageFromUrl(const LxUrl& url)
{
    registerToolkitTable();
    const LxString key = url.toString();
    if (LxImageCache::hasImage(key))
        return LxImageCache::cachedImage(key, LxByteArray());
    const LxByteArray bytes = LxResourceLib::instance()->read(url);
    if (bytes.isEmpty())
        return LxImage();
    return LxImageCache::cachedImage(key, bytes);
}

LxByteArray readUrl(const LxUrl& url)
{
    registerToolkitTable();
    return LxResourceLib::instance()->read(url);
}
