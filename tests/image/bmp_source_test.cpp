#include <gtest/gtest.h>
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "image/bmp_files.h"

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

// A folder of this test's own, removed afterwards.
class PictureSources : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = tempPath("sources");
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string in(const std::string& name) const { return folder_ + "/" + name; }

    std::string folder_;
};

// A directory, a named pipe nobody writes to, a device, and links to them are refused at once
// with a line that says what they are; a link to a picture file is read as the file.
TEST_F(PictureSources, OnlyRegularFilesAreReadAsPictures) {
    const Bytes picture = bmpFile(3, 2, 24, {}, Bytes(18, 7));
    std::ofstream(in("picture.bmp"), std::ios::binary).write(reinterpret_cast<const char*>(picture.data()), 78);
    std::filesystem::create_directory(in("folder.bmp"));
    ASSERT_EQ(::mkfifo(in("pipe.bmp").c_str(), 0600), 0);
    std::filesystem::create_symlink(in("picture.bmp"), in("link.bmp"));
    std::filesystem::create_symlink(in("folder.bmp"), in("folder-link.bmp"));
    std::filesystem::create_symlink(in("pipe.bmp"), in("pipe-link.bmp"));

    BmpImage image;
    ASSERT_EQ(image.load(in("link.bmp").c_str()), 1) << image.lastError();
    EXPECT_EQ(pixelAt(image, 2, 1), (Colour{7, 7, 7}));

    // A reader that waits on the pipe is let go after a second, so that the test fails instead of hanging.
    std::atomic<bool> done = false;
    std::thread release([&] {
        for (int i = 0; !done; ++i) {
            std::this_thread::sleep_for(10ms);
            const int writer = i < 100 ? -1 : ::open(in("pipe.bmp").c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
        }
    });
    const std::pair<std::string, std::string> cases[] = {
        {in("folder.bmp"), "folder.bmp is a directory"},
        {in("folder-link.bmp"), "folder-link.bmp is a directory"},
        {in("pipe.bmp"), "pipe.bmp is a named pipe"},
        {in("pipe-link.bmp"), "pipe-link.bmp is a named pipe"},
        {"/dev/zero", "/dev/zero is a character device"},
        {in("missing.bmp"), "cannot open " + in("missing.bmp") + ": No such file or directory"},
    };
    for (const auto& [path, says] : cases) {
        ASSERT_EQ(image.load(in("picture.bmp").c_str()), 1);
        EXPECT_EQ(image.load(path.c_str()), 0) << path;
        EXPECT_NE(image.lastError().find(says), std::string::npos) << image.lastError();
        EXPECT_TRUE(image.hasPixels()) << "a file that is not a picture file leaves the image as it was";
    }
    done = true;
    release.join();
}

// Loads `bytes` through a pipe, written from another thread so that pictures larger than the
// pipe's buffer pass too.
int loadThroughPipe(BmpImage& image, const Bytes& bytes) {
    int ends[2];
    if (::pipe(ends) != 0) return -1;
    std::thread writer([&] {
        sigset_t pipeSignal;  // a reader that stops early makes writes fail, not the process end
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t written = ::write(ends[1], bytes.data() + sent, bytes.size() - sent);
            if (written <= 0) break;
            sent += static_cast<std::size_t>(written);
        }
        ::close(ends[1]);
    });
    std::FILE* stream = ::fdopen(ends[0], "rb");
    const int result = image.loadFrom(stream);
    std::fclose(stream);
    writer.join();
    return result;
}

// Through a pipe the reader gives what it gives from a file: the same pixels, the same refusals.
TEST_F(PictureSources, APipeReadsLikeAFile) {
    Bytes indices(300 * 200), rows(3 * 300 * 200);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 / 3);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 3);
    const Bytes pal = bmpFile(300, 200, 8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, indices);
    const Bytes rgb = bmpFile(300, 200, 24, {}, rows);  // larger than a pipe's buffer
    for (const Bytes& file : {pal, rgb, Bytes(pal.begin(), pal.end() - 1), Bytes(rgb.begin(), rgb.begin() + 60),
                              Bytes(rgb.begin(), rgb.begin() + 20), put(rgb, kBits, 16, 2)}) {
        BmpImage fromFile, fromPipe;
        const int fileResult = loadFile(fromFile, file);
        ASSERT_EQ(loadThroughPipe(fromPipe, file), fileResult) << fromPipe.lastError();
        EXPECT_EQ(fromPipe.lastError(), fromFile.lastError());
        if (fileResult == 1) {
            EXPECT_EQ(std::memcmp(fromPipe.pixels.get(), fromFile.pixels.get(), fromFile.infoHeader.imageSize), 0);
        }
    }
}

// A header that claims 9450 x 9450 pixels and no pixel data behind it: while the reader waits
// for pixels that never come, it holds no memory for them.
TEST_F(PictureSources, APipeSetsAsideMemoryOnlyForDataThatArrived) {
    const Bytes header = put(put(bmpFile(1, 1, 24, {}, Bytes(3)), kWidth, 9450), kHeight, 9450);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], header.data(), 54), 54);
    const std::size_t before = heapInUse();
    BmpImage image;
    int result = -1;
    std::thread reader([&] {
        std::FILE* stream = ::fdopen(ends[0], "rb");
        result = image.loadFrom(stream);
        std::fclose(stream);
    });
    int waiting = 1;
    while (waiting > 0 && ::ioctl(ends[1], FIONREAD, &waiting) == 0) std::this_thread::sleep_for(5ms);
    std::size_t most = 0;
    for (int sample = 0; sample < 50; ++sample) {  // the reader now waits for pixels
        most = std::max(most, heapInUse() - std::min(before, heapInUse()));
        std::this_thread::sleep_for(10ms);
    }
    ::close(ends[1]);
    reader.join();
    EXPECT_LT(most, std::size_t{8} << 20) << "bytes set aside before any pixel arrived";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(image.lastError(), "truncated pixel data");
}

}  // namespace
}  // namespace qv
