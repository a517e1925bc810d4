#pragma once
// LxImage: a handle to a shared, reference-counted image record holding a decoded GDI+ bitmap and
// its animation frames; LxImageCache: the process-wide map of records by key and by serial. Images
// that cannot be decoded are null handles; every operation on a null handle is harmless. UI thread
// only; GDI+ must be running while records with bitmaps exist.

#include "LxContainers.h"
#include "LxGdiplus.h"

struct LxImageRecord;

class LxImage {
public:
    LxImage() noexcept = default;
    LxImage(const LxImage& other) noexcept;
    LxImage(LxImage&& other) noexcept;
    LxImage& operator=(LxImage other) noexcept;
    ~LxImage();

    // GdipCreateBitmapFromFile; null for a missing or undecodable file or a 0-sized image.
    static LxImage fromFile(const LxString& path);
    // Decodes a copy of the bytes through a memory stream; null for empty or undecodable bytes.
    static LxImage fromData(const LxByteArray& bytes);

    bool isNull() const { return bitmap() == nullptr; }
    int width() const;
    int height() const;
    int serial() const;
    const LxString& key() const;
    // Handles sharing the record, the cache's own reference included.
    int refCount() const;
    // True when both handles share one record.
    bool sameRecord(const LxImage& other) const { return m_d == other.m_d; }

    int frameCount() const;
    int activeFrame() const;
    // With 2 or more frames: selects i modulo the frame count (failures go to the debug channel).
    void setActiveFrame(int i);
    // Delay of the active frame in milliseconds; 0 for fewer than 2 frames or no delays.
    int frameDelay() const;

    Gdiplus::GpBitmap* bitmap() const;

private:
    friend class LxImageCache;
    explicit LxImage(LxImageRecord* record) noexcept : m_d(record) {}
    static LxImage adopt(LxGpImage bitmap, const LxString& key);

    LxImageRecord* m_d = nullptr;
};

class LxImageCache {
public:
    // The image cached under the path, else loaded with fromFile and cached (also when null).
    static LxImage cachedImage(const LxString& path);
    // The image cached under the name, else decoded from the bytes and cached.
    static LxImage cachedImage(const LxString& name, const LxByteArray& bytes);
    static bool hasImage(const LxString& key);
    static LxImage imageBySerial(int serial);
    // Releases the cache's reference of every record (handles held elsewhere stay valid).
    static void clear();

private:
    static LxImage enter(const LxString& key, LxImage image);
};
