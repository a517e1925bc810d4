// lxgallery: draws a scene of every toolkit item kind offscreen.
//   lxgallery.exe --render <file.png>   writes the scene as a PNG and exits (0 on success)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "GalleryScene.h"
#include "LxApplication.h"
#include "LxOffscreenLayer.h"
#include "LxPainter.h"
#include "SetupLog.h"

namespace {

int render(const wchar_t* path)
{
    LxGraphicsItem* root = buildGalleryScene();
    LxOffscreenLayer layer(kGalleryWidth, kGalleryHeight);
    bool saved = false;
    {
        LxPainter painter(layer);
        lxPaintItemTree(painter, *root);
        saved = layer.savePng(path);
    }
    delete root;
    return saved ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LxApplication app;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int result = 2;
    if (argv && argc == 3 && wcscmp(argv[1], L"--render") == 0)
        result = render(argv[2]);
    else
        fwprintf(stderr, L"usage: lxgallery --render <file.png>\n");
    LocalFree(argv);
    return result;
}
