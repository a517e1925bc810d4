#pragma once
// A table of named files compiled into a program: names with '/' separators ("theme/gui/x.png"),
// byte sizes, and one block holding the contents back to back in table order. The build generates
// such tables from the skin folder (cmake/Skin.cmake); they are handed to
// registerEmbeddedResources (LxResourceLib.h).

#include <cstdint>

struct LxEmbeddedTable {
    int count;
    const char* const* names;
    const unsigned char* data;
    const std::uint32_t* sizes;
};

// The toolkit's built-in skin: the images under "theme/gui/", reached as "lxgui:<name>".
extern const LxEmbeddedTable lxSkinTable;
