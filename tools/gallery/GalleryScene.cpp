#include "GalleryScene.h"

#include "LxGraphicsFrameItem.h"
#include "LxGraphicsPixmapItem.h"
#include "LxGraphicsRectItem.h"
#include "LxGraphicsSimpleTextItem.h"
#include "LxResourceLib.h"
#include "TestImages.h"

namespace {

const LxColor kBlue{66, 147, 210, 255};
const LxColor kText{51, 51, 51, 255};

LxGraphicsSimpleTextItem* label(LxGraphicsItem* parent, double x, double y, const wchar_t* text, double size = 12,
                                LxColor color = kText)
{
    auto* item = new LxGraphicsSimpleTextItem(parent);
    item->setFont(LxFont(L"Microsoft YaHei", size, 0, color));
    item->setText(text);
    item->setPos(x, y);
    return item;
}

LxGraphicsRectItem* rect(LxGraphicsItem* parent, double x, double y, double w, double h, LxColor color)
{
    auto* item = new LxGraphicsRectItem(parent);
    item->setGeometry(x, y, w, h);
    item->setColor(color);
    return item;
}

LxGraphicsMarginsPixmapItem* ninePatch(LxGraphicsItem* parent, const wchar_t* url, LxMargins margins, double x,
                                       double y, double w, double h)
{
    auto* item = new LxGraphicsMarginsPixmapItem(parent);
    item->setPixmapUrl(url);
    item->setMargins(margins);
    item->setGeometry(x, y, w, h);
    return item;
}

// A record of its own each time, so that each copy can show another frame.
LxImage animatedSample()
{
    return LxImage::fromData(LxByteArray(reinterpret_cast<const char*>(kAnimatedGif), sizeof kAnimatedGif));
}

}  // namespace

LxGraphicsItem* buildGalleryScene()
{
    auto* root = new LxGraphicsRectItem();
    root->setGeometry(0, 0, kGalleryWidth, kGalleryHeight);
    root->setColor({246, 248, 250, 255});
    label(root, 20, 12, L"Lx items \x00b7 \x63a7\x4ef6\x4e00\x89c8", 18, kBlue);

    // Row 1: rectangles, z-order and opacity.
    label(root, 20, 52, L"Rectangles, z-order, opacity");
    rect(root, 20, 76, 60, 40, kBlue);
    auto* back = rect(root, 100, 76, 50, 40, {232, 74, 60, 255});
    rect(root, 120, 86, 50, 40, {245, 166, 35, 255});
    back->setZValue(1);  // raised above its later sibling
    auto* faded = rect(root, 190, 76, 120, 50, kBlue);
    faded->setOpacity(0.5);
    rect(faded, 10, 10, 40, 30, {255, 255, 255, 255});  // inherits half opacity
    auto* child = rect(faded, 60, 10, 40, 30, {255, 255, 255, 255});
    child->setOpacity(0.5);  // a quarter in all

    // Row 1, right: pixmaps from the built-in skin.
    label(root, 340, 52, L"Pixmaps");
    const wchar_t* const pixmaps[] = {L"lxgui:head.png", L"lxgui:icon.png", L"lxgui:icon_notice.png",
                                      L"lxgui:checkbox_selected_normal.png", L"lxgui:close_hover.png"};
    double x = 340;
    for (const wchar_t* url : pixmaps) {
        auto* item = new LxGraphicsPixmapItem(root);
        item->setPixmap(imageFromUrl(url));
        item->setPos(x, 76);
        x += item->width() + 12;
    }

    // Row 2: nine-patch frames at several sizes.
    label(root, 20, 140, L"Nine-patch frames");
    ninePatch(root, L"lxgui:shadow.png", {22, 22, 22, 22}, 14, 160, 130, 90);
    rect(root, 34, 180, 90, 50, {255, 255, 255, 255});
    const double widths[] = {15, 40, 90, 150};
    x = 170;
    for (double w : widths) {
        ninePatch(root, L"lxgui:button_normal.png", {4, 4, 4, 4}, x, 170, w, 30);
        x += w + 10;
    }
    ninePatch(root, L"lxgui:edit_focus.png", {3, 3, 3, 3}, 170, 210, 200, 28);

    // Row 3: state frames in each state.
    label(root, 20, 262, L"State frames: normal, hover, pressed, focused, disabled");
    const wchar_t* const images[] = {L"lxgui:button_normal.png", L"lxgui:button_hover.png",
                                     L"lxgui:button_pressdown.png", L"lxgui:button_focus.png",
                                     L"lxgui:button_disable.png"};
    for (int state = 0; state < 5; ++state) {
        auto* frame = new LxGraphicsFrameItem(root);
        frame->setMargins({4, 4, 4, 4});
        for (int layer = 0; layer < 5; ++layer)
            frame->setImage(layer, LxString(images[layer]));
        frame->setGeometry(20 + state * 92, 286, 82, 28);
        frame->setHover(state == 1);
        frame->setPressed(state == 2);
        frame->setFocused(state == 3);
        frame->setDisabled(state == 4);
        const wchar_t* const names[] = {L"\x6b63\x5e38", L"\x60ac\x505c", L"\x6309\x4e0b", L"\x7126\x70b9",
                                        L"\x7981\x7528"};
        auto* text = label(frame, 0, 0, names[state], 12, state == 4 ? LxColor{166, 178, 187, 255} : kText);
        text->setPos((82 - text->width()) / 2, (28 - text->height()) / 2);
        text->setZValue(LxGraphicsFrameItem::LayerCount);  // above every layer
    }

    // Row 3, right: one animated image, shown at each of its frames.
    label(root, 490, 262, L"Animated frames");
    for (int frameIndex = 0; frameIndex < 3; ++frameIndex) {
        LxImage image = animatedSample();
        auto* frame = new LxGraphicsFrameItem(root);
        frame->setImage(0, image);
        image.setActiveFrame(frameIndex);
        frame->setGeometry(490 + frameIndex * 40, 286, 28, 28);
    }

    // Row 4: simple text.
    label(root, 20, 336, L"The quick brown fox jumps over the lazy dog.", 14);
    label(root, 20, 362, L"\x6b22\x8fce\x4f7f\x7528\x5b89\x88c5\x5411\x5bfc\xff0c\x8bf7\x9605\x8bfb\x8bb8\x53ef\x534f\x8bae\x3002", 16, kBlue);
    return root;
}
