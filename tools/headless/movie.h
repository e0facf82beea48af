#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qv {
class BackBuffer;
}

namespace qv::headless {

// An animated, lossless WebP of the composed frames: every K-th frame, each shown for K frame
// times, looping. The frames are encoded as they come; the file is written at the end.
class Movie {
public:
    // A WebP frame lasts at most 2^24 - 1 ms.
    static constexpr int32_t kMostFramesApart = 986895;

    Movie();
    ~Movie();
    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // Makes the file now, so that a path that cannot be written stops the run before its first
    // frame; one frame in every `framesApart` goes into the movie. False, with why in `error`, on failure.
    bool open(const std::string& path, int32_t framesApart, std::string& error);
    // Adds the picture of frame `frame` (1-based) when it is one of every K-th.
    bool addFrame(int32_t frame, const BackBuffer& picture, std::string& error);
    // Assembles the movie and writes it to the file.
    bool finish(std::string& error);

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace qv::headless
