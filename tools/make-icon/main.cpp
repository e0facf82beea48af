// Writes the game's picture for desktops: at any size as a PNG (or a 24-bit BMP), each size drawn
// for itself, and as an SVG that scales.
//   make-icon [--size N] OUTPUT.png|OUTPUT.bmp     (N from 1 to 1024, 32 when not given)
//   make-icon OUTPUT.svg
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_icon.h"
#include "image/bmp_writer.h"
#include "image/picture_view.h"
#include "png_file.h"

namespace {

constexpr int32_t kLargestSize = 1024;

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

bool writeBmp(const std::string& path, const qv::IconImage& icon, std::string& error) {
    const int32_t rowBytes = (icon.width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<std::size_t>(rowBytes) * icon.height);
    const qv::PictureView picture{rows.data(), icon.width, icon.height, rowBytes};
    for (int32_t y = 0; y < icon.height; ++y) {
        for (int32_t x = 0; x < icon.width; ++x) {
            const uint8_t* rgba = icon.rgba.data() + (static_cast<std::size_t>(y) * icon.width + x) * 4;
            uint8_t* pixel = picture.pixelAt(x, y);
            pixel[0] = rgba[2];
            pixel[1] = rgba[1];
            pixel[2] = rgba[0];
        }
    }
    return qv::writeBmp24(path.c_str(), icon.width, icon.height, rows.data(), rowBytes, &error);
}

bool writeSvg(const std::string& path, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << qv::gameIconSvg();
    out.close();
    if (!out) {
        error = "cannot write the file";
    }
    return static_cast<bool>(out);
}

int usage() {
    std::fprintf(stderr, "usage: make-icon [--size N] OUTPUT.png|OUTPUT.bmp   (N from 1 to %d)\n"
                         "       make-icon OUTPUT.svg\n", kLargestSize);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    int32_t size = qv::kWindowIconSize;
    std::string output;
    if (arguments.size() == 3 && arguments[0] == "--size") {
        try {
            std::size_t used = 0;
            const int value = std::stoi(arguments[1], &used);
            if (used != arguments[1].size() || value < 1 || value > kLargestSize) {
                return usage();
            }
            size = value;
        } catch (const std::exception&) {
            return usage();
        }
        output = arguments[2];
    } else if (arguments.size() == 1) {
        output = arguments[0];
    } else {
        return usage();
    }

    std::string error;
    bool written = false;
    if (endsWith(output, ".svg") && arguments.size() == 1) {
        written = writeSvg(output, error);
    } else if (endsWith(output, ".png")) {
        written = qv::writePng(output, qv::makeGameIcon(size), error);
    } else if (endsWith(output, ".bmp")) {
        written = writeBmp(output, qv::makeGameIcon(size), error);
    } else {
        return usage();
    }
    if (!written) {
        std::fprintf(stderr, "make-icon: %s: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
