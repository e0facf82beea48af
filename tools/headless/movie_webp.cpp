#include <webp/encode.h>
#include <webp/mux.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include "app/back_buffer.h"
#include "game/sand_game.h"
#include "movie.h"

namespace qv::headless {

namespace {

// Lossless effort from 0 to 9. On 300 frames of play, 3 makes a movie 4 per cent larger than the
// default 6 does, in 58 per cent of the time; 1 makes it 50 per cent larger.
constexpr int kLosslessEffort = 3;
static_assert(int64_t{Movie::kMostFramesApart} * SandGame::kFrameMilliseconds < (1 << 24));

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

// The back buffer's bottom-up blue-green-red rows as the top-down opaque ARGB words WebP encodes.
void copyPicture(const BackBuffer& buffer, WebPPicture& picture) {
    for (int32_t y = 0; y < buffer.height; ++y) {
        const uint8_t* from = buffer.bits + static_cast<std::ptrdiff_t>(buffer.height - 1 - y) * buffer.rowBytes();
        uint32_t* to = picture.argb + static_cast<std::ptrdiff_t>(y) * picture.argb_stride;
        for (int32_t x = 0; x < buffer.width; ++x, from += 3) {
            to[x] = 0xff000000u | uint32_t{from[2]} << 16 | uint32_t{from[1]} << 8 | from[0];
        }
    }
}

}  // namespace

struct Movie::Encoder {
    std::unique_ptr<std::FILE, FileCloser> file;
    std::string path;
    int32_t framesApart = 1;
    std::unique_ptr<WebPAnimEncoder, EncoderDeleter> animation;
    WebPConfig config{};
    WebPPicture picture{};
    int64_t nextTimestamp = 0;
    int32_t frames = 0;

    ~Encoder() { WebPPictureFree(&picture); }

    std::string failure(const char* what) const {
        return "cannot " + std::string(what) + " the movie '" + path + "': " +
               (animation ? WebPAnimEncoderGetError(animation.get()) : "");
    }

    bool start(const BackBuffer& buffer, std::string& error) {
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config) ||
            !WebPConfigLosslessPreset(&config, kLosslessEffort) || !WebPPictureInit(&picture)) {
            error = "cannot make the movie '" + path + "': the WebP library does not match its headers";
            return false;
        }
        options.allow_mixed = 0;  // every frame lossless, so that each one is the picture exactly
        picture.use_argb = 1;
        picture.width = buffer.width;
        picture.height = buffer.height;
        animation.reset(WebPAnimEncoderNew(buffer.width, buffer.height, &options));
        if (!animation || !WebPPictureAlloc(&picture)) {
            error = "cannot make the movie '" + path + "': out of memory";
            return false;
        }
        return true;
    }

    bool add(const BackBuffer& buffer, std::string& error) {
        if (!animation && !start(buffer, error)) {
            return false;
        }
        if (nextTimestamp > std::numeric_limits<int>::max()) {
            error = "cannot make the movie '" + path + "': it would last longer than a WebP movie can";
            return false;
        }
        copyPicture(buffer, picture);
        if (!WebPAnimEncoderAdd(animation.get(), &picture, static_cast<int>(nextTimestamp), &config)) {
            error = failure("encode a frame of");
            return false;
        }
        nextTimestamp += int64_t{framesApart} * SandGame::kFrameMilliseconds;
        ++frames;
        return true;
    }
};

Movie::Movie() = default;
Movie::~Movie() = default;

bool Movie::open(const std::string& path, int32_t framesApart, std::string& error) {
    encoder_ = std::make_unique<Encoder>();
    encoder_->path = path;
    encoder_->framesApart = framesApart;
    encoder_->file.reset(std::fopen(path.c_str(), "wb"));
    if (!encoder_->file) {
        error = "cannot write the movie '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool Movie::addFrame(int32_t frame, const BackBuffer& picture, std::string& error) {
    return frame % encoder_->framesApart != 0 || encoder_->add(picture, error);
}

bool Movie::finish(std::string& error) {
    Encoder& encoder = *encoder_;
    if (encoder.frames == 0) {
        error = "cannot make the movie '" + encoder.path + "': no frame was one of every " +
                std::to_string(encoder.framesApart);
        return false;
    }
    // The last frame lasts as long as the others: the end of the animation is one frame time after it.
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder.animation.get(), nullptr, static_cast<int>(encoder.nextTimestamp), nullptr) ||
        !WebPAnimEncoderAssemble(encoder.animation.get(), &data)) {
        error = encoder.failure("assemble");
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(data.bytes, 1, data.size, encoder.file.get()) == data.size &&
                         std::fclose(encoder.file.release()) == 0;
    WebPDataClear(&data);
    if (!written) {
        error = "cannot write the movie '" + encoder.path + "': " + (errno != 0 ? std::strerror(errno) : "a short write");
        return false;
    }
    return true;
}

}  // namespace qv::headless
