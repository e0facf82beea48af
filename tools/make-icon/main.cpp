// Writes the window's picture as a 24-bit BMP, so that it can be shipped as a PNG for desktop
// entries (scripts/make-icon-png does both steps).
#include <cstdio>
#include <string>
#include <vector>

#include "game/game_icon.h"
#include "image/bmp_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon OUTPUT.bmp\n");
        return 2;
    }
    const qv::IconImage icon = qv::makeGameIcon();
    const int32_t rowBytes = (icon.width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<std::size_t>(rowBytes) * icon.height);
    for (int32_t y = 0; y < icon.height; ++y) {
        uint8_t* row = rows.data() + static_cast<std::size_t>(icon.height - 1 - y) * rowBytes;  // bottom-up
        for (int32_t x = 0; x < icon.width; ++x) {
            const uint8_t* rgba = icon.rgba.data() + (static_cast<std::size_t>(y) * icon.width + x) * 4;
            row[3 * x] = rgba[2];
            row[3 * x + 1] = rgba[1];
            row[3 * x + 2] = rgba[0];
        }
    }
    std::string error;
    if (!qv::writeBmp24(argv[1], icon.width, icon.height, rows.data(), rowBytes, &error)) {
        std::fprintf(stderr, "make-icon: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
