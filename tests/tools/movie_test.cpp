#include <gtest/gtest.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>
#include <sstream>

#include "game/sand_game.h"
#include "helpers/scratch_folder.h"
#include "runner_files.h"

namespace qv::headless {
namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
struct DecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

// The pixel at (x, y) from the top of a picture the runner wrote (a bottom-up, 24-bit BMP), as
// red, green, blue.
std::array<uint8_t, 3> bmpPixel(const std::string& bmp, int32_t x, int32_t y) {
    uint32_t dataOffset = 0;
    std::memcpy(&dataOffset, bmp.data() + 10, sizeof dataOffset);  // little-endian, as on this machine
    const std::size_t at = dataOffset + static_cast<std::size_t>(SandGame::kClientHeight - 1 - y) * SandGame::kClientWidth * 3 +
                           static_cast<std::size_t>(x) * 3;
    return {static_cast<uint8_t>(bmp[at + 2]), static_cast<uint8_t>(bmp[at + 1]), static_cast<uint8_t>(bmp[at])};
}

// Decoded with libwebp's demuxer and animation decoder, the movie is as big as the game's picture,
// loops, and holds one frame in every K (2 unless asked), each shown for K x 17 ms; its frame k is
// exactly the runner's picture of frame k x K.
TEST(Movie, FrameKIsTheRunnersPictureOfFrameKTimesK) {
    for (const auto& [every, frames] : {std::pair{4, 40}, std::pair{Options::kDefaultMovieEvery, 7}}) {
        const testing::ScratchFolder folder;
        Options options = goldenSession(goldenFolder() / "corner_pours.input");
        options.frames = frames;
        options.moviePath = folder.in("play.webp");
        options.movieEvery = every;
        options.pictureEvery = every;
        options.pictureDir = folder.in("pictures");
        {
            const testing::WorkingDirectory inAssets(assetsFolder());
            std::ostringstream output, errors;
            ASSERT_EQ(runHeadless(options, output, errors), kRunOk) << errors.str();
        }
        const std::string movie = readFile(options.moviePath);
        const WebPData data{reinterpret_cast<const uint8_t*>(movie.data()), movie.size()};

        const std::unique_ptr<WebPDemuxer, DemuxDeleter> demuxer(WebPDemux(&data));
        ASSERT_TRUE(demuxer);
        EXPECT_EQ(WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH), 448u);
        EXPECT_EQ(WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT), 640u);
        EXPECT_EQ(WebPDemuxGetI(demuxer.get(), WEBP_FF_LOOP_COUNT), 0u) << "loops for ever";
        const int count = static_cast<int>(WebPDemuxGetI(demuxer.get(), WEBP_FF_FRAME_COUNT));
        ASSERT_EQ(count, frames / every);
        for (int k = 1; k <= count; ++k) {
            WebPIterator frame;
            ASSERT_TRUE(WebPDemuxGetFrame(demuxer.get(), k, &frame));
            EXPECT_EQ(frame.duration, every * 17) << "frame " << k;
            WebPDemuxReleaseIterator(&frame);
        }

        WebPAnimDecoderOptions decoding;
        ASSERT_TRUE(WebPAnimDecoderOptionsInit(&decoding));
        decoding.color_mode = MODE_RGBA;
        const std::unique_ptr<WebPAnimDecoder, DecoderDeleter> decoder(WebPAnimDecoderNew(&data, &decoding));
        ASSERT_TRUE(decoder);
        for (int k = 1; WebPAnimDecoderHasMoreFrames(decoder.get()); ++k) {
            uint8_t* rgba = nullptr;
            int endsAt = 0;
            ASSERT_TRUE(WebPAnimDecoderGetNext(decoder.get(), &rgba, &endsAt));
            EXPECT_EQ(endsAt, k * every * 17);
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06d.bmp", k * every);
            const std::string picture = readFile(options.pictureDir + name);
            ASSERT_EQ(picture.size(), 54u + 448u * 640u * 3u);
            int differing = 0;
            for (int32_t y = 0; y < 640; ++y) {
                for (int32_t x = 0; x < 448; ++x) {
                    const uint8_t* decoded = rgba + (static_cast<std::size_t>(y) * 448 + static_cast<std::size_t>(x)) * 4;
                    const auto [red, green, blue] = bmpPixel(picture, x, y);
                    differing += decoded[0] != red || decoded[1] != green || decoded[2] != blue || decoded[3] != 255;
                }
            }
            EXPECT_EQ(differing, 0) << "pixels of movie frame " << k << " unlike the picture of frame " << k * every;
        }
    }
}

}  // namespace
}  // namespace qv::headless
