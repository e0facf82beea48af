#include "replay/replay_recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <utility>

#include "replay/input_file.h"
#include "replay/replay_file.h"

namespace qv::replay {

namespace {

std::string cannotWrite(const std::string& path, int error) {
    return "quorvantile: cannot write the replay '" + path + "': " + std::strerror(error);
}

// Writes all of `text`, going on after a partial write or an interrupted one; the error number
// of a failure, or 0.
int writeAll(int descriptor, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? errno : EIO;
        }
        done += static_cast<std::size_t>(count);
    }
    return 0;
}

}  // namespace

std::unique_ptr<ReplayRecorder> ReplayRecorder::open(const std::string& path, uint32_t seed, std::ostream& warnings,
                                                     std::string& error) {
    // Not blocking, so that a pipe with no reader is refused at once instead of waiting for one.
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (descriptor < 0) {
        error = cannotWrite(path, errno);
        return nullptr;
    }
    std::unique_ptr<ReplayRecorder> recorder(new ReplayRecorder(descriptor, path, warnings));
    const std::string startLines = replayStartLines(seed);
    const int flags = ::fcntl(descriptor, F_GETFL);
    const int failure =
        flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) < 0 ? errno : writeAll(descriptor, startLines);
    if (failure != 0) {
        error = cannotWrite(path, failure);
        return nullptr;
    }
    recorder->bytesWritten_ = static_cast<int64_t>(startLines.size());
    return recorder;
}

ReplayRecorder::ReplayRecorder(int descriptor, std::string path, std::ostream& warnings)
    : descriptor_(descriptor), path_(std::move(path)), warnings_(warnings) {}

ReplayRecorder::~ReplayRecorder() {
    writePending();
    close();
}

void ReplayRecorder::record(MouseAction action, int32_t x, int32_t y, bool changedNothing) {
    if (action != MouseAction::Move) {
        keepLastFrameColumns();
    }
    if (changedNothing && !keepIdleMoves) {
        return;
    }
    pending_ += eventLine(ScriptEvent{framesRun_ + 1, action, x, y});
}

void ReplayRecorder::frameRan() {
    ++framesRun_;
    lastFrame_.reset();
    writePending();
}

bool ReplayRecorder::finish() {
    keepLastFrameColumns();
    if (lastFrame_) {
        pending_ += endLine(*lastFrame_);
    }
    writePending();
    close();
    return !failed_;
}

std::optional<std::string> ReplayRecorder::textSoFar(std::string& error) {
    if (descriptor_ < 0) {
        error = "quorvantile: the replay '" + path_ + "' is no longer recorded";
        return std::nullopt;
    }
    InputFile file(path_);
    std::string text{std::istreambuf_iterator<char>(&file), std::istreambuf_iterator<char>()};
    if (file.error() != 0) {
        error = "quorvantile: cannot read back the replay '" + path_ + "': " + std::strerror(file.error());
        return std::nullopt;
    }
    // Another file put in its place, or one cut short, would make the text another session's.
    if (std::cmp_not_equal(text.size(), bytesWritten_)) {
        error = "quorvantile: the replay '" + path_ + "' was changed while it was recorded";
        return std::nullopt;
    }
    keepLastFrameColumns();
    text += pending_;
    if (lastFrame_) {
        text += endLine(*lastFrame_);
    }
    return text;
}

void ReplayRecorder::keepLastFrameColumns() {
    if (!lastFrame_ && framesRun_ > 0 && columnsNow_) {
        lastFrame_ = columnsNow_(framesRun_);
    }
}

void ReplayRecorder::writePending() {
    if (!pending_.empty()) {
        write(pending_);
        pending_.clear();
    }
}

void ReplayRecorder::write(const std::string& text) {
    if (descriptor_ < 0) {
        return;
    }
    const int error = writeAll(descriptor_, text);
    if (error == 0) {
        bytesWritten_ += static_cast<int64_t>(text.size());
        return;
    }
    warnings_ << cannotWrite(path_, error) << "; the game goes on unrecorded\n";
    // A part of a line would make the whole file unreadable; what was written whole still replays.
    // (A pipe or a device cannot be cut back and keeps what reached it.)
    [[maybe_unused]] const int cut = ::ftruncate(descriptor_, bytesWritten_);
    failed_ = true;
    close();
}

void ReplayRecorder::close() {
    if (descriptor_ >= 0 && ::close(descriptor_) != 0 && !failed_) {
        warnings_ << cannotWrite(path_, errno) << '\n';
        failed_ = true;
    }
    descriptor_ = -1;
}

}  // namespace qv::replay
