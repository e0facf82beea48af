#include <gtest/gtest.h>
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "image/bmp_recipes.h"

// Where a picture comes from: only regular files are opened as pictures, and a stream that
// cannot seek is read with the same result as a file, without trusting its header's size.

extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace qv {
namespace {

using namespace testing;
using namespace std::chrono_literals;

// Heap bytes in use now, from the sanitizer's allocator when there is one.
std::size_t heapInUse() {
    if (__sanitizer_get_current_allocated_bytes != nullptr) {
        return __sanitizer_get_current_allocated_bytes();
    }
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

using PictureSources = InOwnFolder;

// A directory, a named pipe nobody writes to and a device are refused at once with a line that says
// what they are, and leave the image as it was; a link to a picture file is read as the file.
TEST_F(PictureSources, OnlyRegularFilesAreReadAsPictures) {
    const Bytes picture = bmpFile(3, 2, 24, {}, Bytes(18, 7));
    std::ofstream(in("picture.bmp"), std::ios::binary).write(reinterpret_cast<const char*>(picture.data()), 78);
    std::filesystem::create_directory(in("folder.bmp"));
    ASSERT_EQ(::mkfifo(in("pipe.bmp").c_str(), 0600), 0);
    std::filesystem::create_symlink(in("picture.bmp"), in("link.bmp"));

    BmpImage image;
    ASSERT_EQ(image.load(in("link.bmp").c_str()), 1) << image.lastError();
    EXPECT_EQ(pixelAt(image, 2, 1), (Colour{7, 7, 7}));
    const std::pair<std::string, std::string> cases[] = {
        {in("folder.bmp"), "folder.bmp is a directory"},
        {in("pipe.bmp"), "pipe.bmp is a named pipe"},
        {"/dev/zero", "/dev/zero is a character device"},
        {in("missing.bmp"), "cannot open " + in("missing.bmp") + ": No such file or directory"},
    };
    for (const auto& [path, says] : cases) {
        // In a process of its own, which an alarm ends should the reader wait for a writer to the pipe.
        const auto loadWithAlarm = [&, &path = path] {
            ::alarm(5);
            const bool kept = image.load(path.c_str()) == 0 && image.hasPixels();
            std::fprintf(stderr, "%s; %s\n", image.lastError().c_str(), kept ? "picture kept" : "picture lost");
            std::_Exit(0);
        };
        EXPECT_EXIT(loadWithAlarm(), ::testing::ExitedWithCode(0), says + ".*; picture kept");
    }
}

// Loads `bytes` through a pipe, written from another thread so that pictures larger than the pipe's
// buffer pass too. The writer hands over the headers first and, while the reader waits for the
// rest, watches the heap: returns the most the reader has set aside before any more data arrived.
std::size_t loadThroughPipe(BmpImage& image, const Bytes& bytes, int& result) {
    int ends[2];
    if (::pipe(ends) != 0) return SIZE_MAX;
    const auto send = [&](std::size_t from, std::size_t to) {
        for (ssize_t written = 0; from < to && written >= 0; from += static_cast<std::size_t>(written)) {
            written = ::write(ends[1], bytes.data() + from, to - from);
        }
    };
    const std::size_t before = heapInUse(), headers = std::min<std::size_t>(bytes.size(), 54);
    std::size_t most = 0;
    ::signal(SIGPIPE, SIG_IGN);  // a reader that stops early makes writes fail, not the process end
    std::thread writer([&] {
        send(0, headers);
        int waiting = 1;
        while (waiting > 0 && ::ioctl(ends[1], FIONREAD, &waiting) == 0) std::this_thread::sleep_for(1ms);
        for (int sample = 0; sample < 30; ++sample) {  // the reader now has the headers
            most = std::max(most, heapInUse() - std::min(before, heapInUse()));
            std::this_thread::sleep_for(10ms);
        }
        send(headers, bytes.size());
        ::close(ends[1]);
    });
    std::FILE* stream = ::fdopen(ends[0], "rb");
    result = image.loadFrom(stream);
    std::fclose(stream);
    writer.join();
    return most;
}

// Through a pipe the reader gives what it gives from a file: the same pixels, the same refusals.
// Waiting for pixels it holds no memory for more than arrived, whatever the header claims (the last
// file claims 9450 x 9450 pixels and has none).
TEST_F(PictureSources, APipeReadsLikeAFileAndSetsAsideMemoryOnlyForDataThatArrived) {
    Bytes indices(300 * 200), rows(3 * 300 * 200);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 / 3);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 3);
    const Bytes pal = bmpFile(300, 200, 8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, indices);
    const Bytes rgb = bmpFile(300, 200, 24, {}, rows);  // larger than a pipe's buffer
    const Bytes claim = put(put(Bytes(rgb.begin(), rgb.begin() + 54), kWidth, 9450), kHeight, 9450);
    const Bytes fields = bmpFrom({.width = 225, .height = 200, .bits = 32, .compression = kBitFields,
                                  .masks = {0xFF, 0xFF00, 0xFF0000}, .pixels = rows});  // rows of 900 bytes
    Bytes runs;
    for (uint8_t row = 0; row < 200; ++row) runs.insert(runs.end(), {255, uint8_t(row % 3), 45, 1, 0, 0});
    const Bytes runLength = bmpFrom({.width = 300, .height = 200, .bits = 8, .compression = kRle8,
                                     .palette = paletteOf(3), .coloursUsed = 3, .pixels = runs});
    for (const Bytes& file : {pal, rgb, fields, runLength, Bytes(pal.begin(), pal.end() - 1),
                              Bytes(rgb.begin(), rgb.begin() + 60), Bytes(runLength.begin(), runLength.end() - 3),
                              Bytes(rgb.begin(), rgb.begin() + 20), put(rgb, kBits, 2, 2), claim}) {
        BmpImage fromFile, fromPipe;
        const int fileResult = loadFile(fromFile, file);
        int pipeResult = -1;
        EXPECT_LT(loadThroughPipe(fromPipe, file, pipeResult), std::size_t{8} << 20) << "bytes set aside early";
        ASSERT_EQ(pipeResult, fileResult) << fromPipe.lastError();
        EXPECT_EQ(fromPipe.lastError(), fromFile.lastError());
        if (fileResult == 1) {
            EXPECT_EQ(std::memcmp(fromPipe.pixels.get(), fromFile.pixels.get(), fromFile.infoHeader.imageSize), 0);
        }
    }
}

}  // namespace
}  // namespace qv
