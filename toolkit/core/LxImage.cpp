#include "LxImage.h"

#include <new>

#include "DebugMessage.h"
#include "MemPool.h"

using namespace Gdiplus;

struct LxImageRecord {
    int references = 1;
    int serial = 0;
    LxString key;
    LxGpImage bitmap;
    LxList<int> frameDelays;  // in 1/100 s, read for images with 2 or more frames
    int frameCount = 0;
    int activeFrame = 0;

    static LxImageRecord* create()
    {
        void* block = mp_alloc(sizeof(LxImageRecord));
        return block ? new (block) LxImageRecord() : nullptr;
    }
    void release()
    {
        if (--references == 0) {
            this->~LxImageRecord();
            mp_free(this);
        }
    }
    void initFrames();
};

namespace {

int g_nextSerial = 1;

struct Cache {
    LxMap<LxString, LxImage> byKey;
    LxMap<int, LxImageRecord*> bySerial;  // the same records as byKey, no reference of its own
};

Cache& cache()
{
    static Cache* value = new Cache();  // lives to process exit; cleared before GDI+ shuts down
    return *value;
}

}  // namespace

void LxImageRecord::initFrames()
{
    UINT dimensions = 0;
    LxGdip::GdipImageGetFrameDimensionsCount(bitmap.get(), &dimensions);
    frameCount = 0;
    activeFrame = 0;
    if (dimensions == 0)
        return;
    GUID ids[8];
    const UINT wanted = dimensions < 8 ? dimensions : 8;
    const Status status = LxGdip::GdipImageGetFrameDimensionsList(bitmap.get(), ids, wanted);
    if (status != Ok) {
        DebugMessage() << L"LxImage::initFrames" << static_cast<int>(status);
        return;
    }
    UINT count = 0;
    LxGdip::GdipImageGetFrameCount(bitmap.get(), &ids[0], &count);
    frameCount = static_cast<int>(count);
    if (frameCount < 2)
        return;
    UINT size = 0;
    if (LxGdip::GdipGetPropertyItemSize(bitmap.get(), PropertyTagFrameDelay, &size) != Ok || size < sizeof(PropertyItem))
        return;
    void* block = mp_alloc(size);
    if (!block)
        return;
    auto* item = static_cast<PropertyItem*>(block);
    if (LxGdip::GdipGetPropertyItem(bitmap.get(), PropertyTagFrameDelay, size, item) == Ok && item->value) {
        const auto* values = static_cast<const LONG*>(item->value);
        const ULONG n = item->length / sizeof(LONG);
        for (ULONG i = 0; i < n; ++i)
            frameDelays.append(static_cast<int>(values[i]));
    }
    mp_free(block);
}

LxImage::LxImage(const LxImage& other) noexcept : m_d(other.m_d)
{
    if (m_d)
        ++m_d->references;
}

LxImage::LxImage(LxImage&& other) noexcept : m_d(other.m_d)
{
    other.m_d = nullptr;
}

LxImage& LxImage::operator=(LxImage other) noexcept
{
    std::swap(m_d, other.m_d);
    return *this;
}

LxImage::~LxImage()
{
    if (m_d)
        m_d->release();
}

LxImage LxImage::adopt(LxGpImage bitmap, const LxString& key)
{
    UINT width = 0;
    UINT height = 0;
    if (!bitmap || LxGdip::GdipGetImageWidth(bitmap.get(), &width) != Ok
        || LxGdip::GdipGetImageHeight(bitmap.get(), &height) != Ok || width == 0 || height == 0)
        return LxImage();
    LxImageRecord* record = LxImageRecord::create();
    if (!record)
        return LxImage();
    record->serial = g_nextSerial++;
    record->key = key;
    record->bitmap = std::move(bitmap);
    record->initFrames();
    return LxImage(record);
}

LxImage LxImage::fromFile(const LxString& path)
{
    LxGpImage bitmap;
    GpBitmap* created = nullptr;
    if (path.isEmpty() || LxGdip::GdipCreateBitmapFromFile(path.c_str(), &created) != Ok)
        return LxImage();
    bitmap.reset(created);
    return adopt(std::move(bitmap), path);
}

LxImage LxImage::fromData(const LxByteArray& bytes)
{
    if (bytes.isEmpty())
        return LxImage();
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
    if (!block)
        return LxImage();
    memcpy(block, bytes.constData(), bytes.size());
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
        GlobalFree(block);
        return LxImage();
    }
    // From here the stream owns the block; the bitmap keeps its own stream reference.
    GpBitmap* created = nullptr;
    const Status status = LxGdip::GdipCreateBitmapFromStream(stream, &created);
    stream->Release();
    if (status != Ok || !created)
        return LxImage();
    return adopt(LxGpImage(created), LxString());
}

int LxImage::width() const
{
    UINT value = 0;
    if (bitmap())
        LxGdip::GdipGetImageWidth(bitmap(), &value);
    return static_cast<int>(value);
}

int LxImage::height() const
{
    UINT value = 0;
    if (bitmap())
        LxGdip::GdipGetImageHeight(bitmap(), &value);
    return static_cast<int>(value);
}

int LxImage::serial() const
{
    return m_d ? m_d->serial : 0;
}

const LxString& LxImage::key() const
{
    static const LxString none;
    return m_d ? m_d->key : none;
}

int LxImage::refCount() const
{
    return m_d ? m_d->references : 0;
}

int LxImage::frameCount() const
{
    return m_d ? m_d->frameCount : 0;
}

int LxImage::activeFrame() const
{
    return m_d ? m_d->activeFrame : 0;
}

void LxImage::setActiveFrame(int i)
{
    if (!m_d || m_d->frameCount < 2)
        return;
    const int n = m_d->frameCount;
    m_d->activeFrame = ((i % n) + n) % n;
    const Status status =
        LxGdip::GdipImageSelectActiveFrame(m_d->bitmap.get(), &FrameDimensionTime, static_cast<UINT>(m_d->activeFrame));
    if (status != Ok)
        DebugMessage() << L"LxImage::setActiveFrame" << static_cast<int>(status);
}

int LxImage::frameDelay() const
{
    if (!m_d || m_d->frameCount < 2 || m_d->activeFrame >= static_cast<int>(m_d->frameDelays.size()))
        return 0;
    return m_d->frameDelays.at(static_cast<std::size_t>(m_d->activeFrame)) * 10;
}

GpBitmap* LxImage::bitmap() const
{
    return m_d ? static_cast<GpBitmap*>(m_d->bitmap.get()) : nullptr;
}

LxImage LxImageCache::cachedImage(const LxString& path)
{
    if (LxImage cached = cache().byKey.value(path); !cached.isNull())
        return cached;
    return enter(path, LxImage::fromFile(path));
}

LxImage LxImageCache::cachedImage(const LxString& name, const LxByteArray& bytes)
{
    if (LxImage cached = cache().byKey.value(name); !cached.isNull())
        return cached;
    return enter(name, LxImage::fromData(bytes));
}

LxImage LxImageCache::enter(const LxString& key, LxImage image)
{
    // A null image has no record: nothing is cached and a later call tries again.
    if (image.isNull())
        return image;
    image.m_d->key = key;
    cache().byKey.insert(key, image);
    cache().bySerial.insert(image.serial(), image.m_d);
    return image;
}

bool LxImageCache::hasImage(const LxString& key)
{
    return cache().byKey.contains(key);
}

LxImage LxImageCache::imageBySerial(int serial)
{
    LxImageRecord* record = cache().bySerial.value(serial, nullptr);
    if (record)
        ++record->references;
    return LxImage(record);
}

void LxImageCache::clear()
{
    cache().byKey.clear();
    cache().bySerial.clear();
}
