// Writes the game's background pictures into a folder:
//   make-backgrounds DIR   ->  DIR/back1_sml.bmp (8-bit, palettised), DIR/back2_sml.bmp (24-bit)
// The output depends on nothing but this code, so rerunning it reproduces the committed files.

#include <cstdio>
#include <string>

#include "backgrounds.h"
#include "image/bmp_writer.h"
#include "palettised_bmp.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    std::string error;

    const qv::tools::PalettisedPicture water = qv::tools::makeDeepWater();
    if (!qv::tools::writePalettisedBmp(folder + "back1_sml.bmp", water, &error)) {
        std::fprintf(stderr, "make-backgrounds: %s\n", error.c_str());
        return 1;
    }
    const qv::tools::TrueColourPicture glass = qv::tools::makeNightGlass();
    if (!qv::writeBmp24(folder + "back2_sml.bmp", glass.width, glass.height, glass.bottomUpRows.data(), glass.width * 3,
                        &error)) {
        std::fprintf(stderr, "make-backgrounds: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %sback1_sml.bmp and %sback2_sml.bmp\n", folder.c_str(), folder.c_str());
    return 0;
}
