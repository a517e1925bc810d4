#pragma once
// The gallery scene: one item tree with every simple item kind, laid out in labelled rows.

#include "LxGraphicsItem.h"

constexpr int kGalleryWidth = 640;
constexpr int kGalleryHeight = 420;

// The root item (owning the whole tree) of a new gallery scene.
LxGraphicsItem* buildGalleryScene();
