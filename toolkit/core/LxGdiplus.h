#pragma once
// GDI+ flat API access for the toolkit: move-only owners of every GDI+ object kind it creates, the
// process's GDI+ session (startup token) and the rendering settings applied to every graphics
// object (anti-aliased grid-fit text, low-quality interpolation, high-speed compositing).

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include "UniqueResource.h"

namespace LxGdip = Gdiplus::DllExports;

template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
struct LxGdipTraits {
    static T* invalid() noexcept { return nullptr; }
    static void close(T* object) noexcept { Delete(object); }
};

using LxGpGraphics = UniqueResource<Gdiplus::GpGraphics*, LxGdipTraits<Gdiplus::GpGraphics, &LxGdip::GdipDeleteGraphics>>;
using LxGpImage = UniqueResource<Gdiplus::GpImage*, LxGdipTraits<Gdiplus::GpImage, &LxGdip::GdipDisposeImage>>;
using LxGpBrush = UniqueResource<Gdiplus::GpBrush*, LxGdipTraits<Gdiplus::GpBrush, &LxGdip::GdipDeleteBrush>>;
using LxGpPen = UniqueResource<Gdiplus::GpPen*, LxGdipTraits<Gdiplus::GpPen, &LxGdip::GdipDeletePen>>;
using LxGpFont = UniqueResource<Gdiplus::GpFont*, LxGdipTraits<Gdiplus::GpFont, &LxGdip::GdipDeleteFont>>;
using LxGpFontFamily =
    UniqueResource<Gdiplus::GpFontFamily*, LxGdipTraits<Gdiplus::GpFontFamily, &LxGdip::GdipDeleteFontFamily>>;
using LxGpStringFormat =
    UniqueResource<Gdiplus::GpStringFormat*, LxGdipTraits<Gdiplus::GpStringFormat, &LxGdip::GdipDeleteStringFormat>>;
using LxGpImageAttributes = UniqueResource<Gdiplus::GpImageAttributes*,
                                           LxGdipTraits<Gdiplus::GpImageAttributes, &LxGdip::GdipDisposeImageAttributes>>;
using LxGpMatrix = UniqueResource<Gdiplus::GpMatrix*, LxGdipTraits<Gdiplus::GpMatrix, &LxGdip::GdipDeleteMatrix>>;
using LxGpRegion = UniqueResource<Gdiplus::GpRegion*, LxGdipTraits<Gdiplus::GpRegion, &LxGdip::GdipDeleteRegion>>;

struct DcTraits {
    static HDC invalid() noexcept { return nullptr; }
    static void close(HDC dc) noexcept { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<HDC, DcTraits>;  // CreateCompatibleDC

template <typename T>
struct GdiObjectTraits {
    static T invalid() noexcept { return nullptr; }
    static void close(T object) noexcept { ::DeleteObject(object); }
};
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;  // DIB sections
using UniqueRegionHandle = UniqueResource<HRGN, GdiObjectTraits<HRGN>>;

// GdiplusStartup in the constructor, GdiplusShutdown in the destructor (when startup succeeded).
class LxGdiplusSession {
public:
    LxGdiplusSession();
    ~LxGdiplusSession();
    LxGdiplusSession(const LxGdiplusSession&) = delete;
    LxGdiplusSession& operator=(const LxGdiplusSession&) = delete;
    bool started() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

// Applies the toolkit's rendering settings to a graphics object.
void lxApplyRenderingSettings(Gdiplus::GpGraphics* graphics);
// A copy of the generic default string format with the given flags added; null on failure.
LxGpStringFormat lxStringFormat(int extraFlags);
