#include "LxGdiplus.h"

#include "SetupLog.h"
#include "LxImage.h"

using namespace Gdiplus;

LxGdiplusSession::LxGdiplusSession()
{
    GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    const Status status = GdiplusStartup(&token, &input, nullptr);
    if (status != Ok)
        logPrint(L"LxGdiplusSession::LxGdiplusSession, GdiplusStartup failed with status %d.", static_cast<int>(status));
    else
        m_token = token;
}

LxGdiplusSession::~LxGdiplusSession()
{
    if (!m_token)
        return;
    // Decoded images hold GDI+ bitmaps: they go before GDI+ does.
    LxImageCache::clear();
    GdiplusShutdown(m_token);
}

void lxApplyRenderingSettings(GpGraphics* graphics)
{
    if (!graphics)
        return;
    LxGdip::GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAliasGridFit);
    LxGdip::GdipSetInterpolationMode(graphics, InterpolationModeLowQuality);
    LxGdip::GdipSetCompositingQuality(graphics, CompositingQualityHighSpeed);
}

LxGpStringFormat lxStringFormat(int extraFlags)
{
    GpStringFormat* generic = nullptr;
    LxGpStringFormat copy;
    if (LxGdip::GdipStringFormatGetGenericDefault(&generic) != Ok || !generic)
        return copy;
    if (LxGdip::GdipCloneStringFormat(generic, copy.put()) != Ok)
        return LxGpStringFormat();
    INT flags = 0;
    LxGdip::GdipGetStringFormatFlags(copy.get(), &flags);
    LxGdip::GdipSetStringFormatFlags(copy.get(), flags | extraFlags);
    return copy;
}
