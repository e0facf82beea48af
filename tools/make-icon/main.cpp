// Writes the game's picture for desktops and for the page: at any size as a PNG (or a 24-bit BMP),
// each size drawn for itself, optionally made for launchers that cut icons to a shape; as an icon
// file holding the sizes a browser tab shows; and as an SVG that scales.
//   make-icon [--size N] [--maskable] OUTPUT.png|OUTPUT.bmp     (N from 1 to 1024, 32 when not given)
//   make-icon OUTPUT.ico                                          (16, 32 and 48 pixels)
//   make-icon OUTPUT.svg
#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_icon.h"
#include "ico_file.h"
#include "image/bmp_writer.h"
#include "image/picture_view.h"
#include "maskable_icon.h"
#include "png_file.h"

namespace {

constexpr int32_t kLargestSize = 1024;
constexpr std::array<int32_t, 3> kTabIconSizes{16, 32, 48};

struct Request {
    int32_t size = qv::kWindowIconSize;
    bool sized = false;
    bool maskable = false;
    std::string output;
};

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

std::optional<int32_t> parseSize(const std::string& text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= 1 && value <= kLargestSize) {
            return value;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Nothing when the arguments ask for no picture this program writes.
std::optional<Request> parseArguments(const std::vector<std::string>& arguments) {
    Request request;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--size" && at + 1 < arguments.size() && !request.sized) {
            const std::optional<int32_t> size = parseSize(arguments[++at]);
            if (!size) {
                return std::nullopt;
            }
            request.size = *size;
            request.sized = true;
        } else if (argument == "--maskable" && !request.maskable) {
            request.maskable = true;
        } else if (argument.starts_with("--") || !request.output.empty()) {
            return std::nullopt;
        } else {
            request.output = argument;
        }
    }
    const bool sizedFormat = endsWith(request.output, ".png") || endsWith(request.output, ".bmp");
    const bool fixedFormat = endsWith(request.output, ".ico") || endsWith(request.output, ".svg");
    if (!(sizedFormat || (fixedFormat && !request.sized && !request.maskable))) {
        return std::nullopt;
    }
    return request;
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

bool writeBytes(const std::string& path, std::string_view bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write the file";
    }
    return static_cast<bool>(out);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    return writeBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

bool writePng(const std::string& path, const qv::IconImage& icon, std::string& error) {
    const std::optional<std::vector<uint8_t>> png = qv::encodePng(icon);
    if (!png) {
        error = "cannot compress the pixels";
        return false;
    }
    return writeBytes(path, *png, error);
}

bool writeIco(const std::string& path, std::string& error) {
    std::vector<qv::IcoPicture> pictures;
    for (const int32_t size : kTabIconSizes) {
        std::optional<std::vector<uint8_t>> png = qv::encodePng(qv::makeGameIcon(size));
        if (!png) {
            error = "cannot compress the pixels";
            return false;
        }
        pictures.push_back({size, std::move(*png)});
    }
    return writeBytes(path, qv::packIco(pictures), error);
}

bool write(const Request& request, std::string& error) {
    const std::string& output = request.output;
    if (endsWith(output, ".svg")) {
        return writeBytes(output, qv::gameIconSvg(), error);
    }
    if (endsWith(output, ".ico")) {
        return writeIco(output, error);
    }
    const qv::IconImage icon = request.maskable ? qv::makeMaskableIcon(request.size) : qv::makeGameIcon(request.size);
    return endsWith(output, ".png") ? writePng(output, icon, error) : writeBmp(output, icon, error);
}

int usage() {
    std::fprintf(stderr, "usage: make-icon [--size N] [--maskable] OUTPUT.png|OUTPUT.bmp   (N from 1 to %d)\n"
                         "       make-icon OUTPUT.ico\n"
                         "       make-icon OUTPUT.svg\n", kLargestSize);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Request> request = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!request) {
        return usage();
    }
    std::string error;
    if (!write(*request, error)) {
        std::fprintf(stderr, "make-icon: %s: %s\n", request->output.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
