#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "replay/input_script.h"
#include "replay/trace_columns.h"

namespace qv::replay {

// Writes a session to a replay file as it is played: the first lines when opened, each mouse event
// by the end of the frame after it, and the end line when the game closes. A game cut short (a
// crash, a kill) so leaves a file that replays up to its last frame, without the end line.
class ReplayRecorder {
public:
    // Creates `path`, or empties the file there, and writes the header and the seed. Nothing, with
    // one line in `error` naming the file and the system's reason, when it cannot be written.
    // Failures while playing are said once on `warnings`, which must outlive the recorder.
    static std::unique_ptr<ReplayRecorder> open(const std::string& path, uint32_t seed, std::ostream& warnings,
                                                std::string& error);
    // Closes the file with what is pending written, but no end line: the session did not close.
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // What the recorded game shows now, as the end line's columns after `framesRun` frames.
    using ColumnsNow = std::function<TraceColumns(int32_t framesRun)>;
    // Where the end line's columns come from. Hashing the field costs five frame updates, so they
    // are asked for only when the last frame's could be lost: before the first press or release
    // after a frame (moves change none of them), and when the recording finishes.
    void takeColumnsFrom(ColumnsNow columnsNow) { columnsNow_ = std::move(columnsNow); }

    // A mouse event the game took before its next frame. `changedNothing`: a move that left the
    // cursor's cell where it was, which the file leaves out unless keepIdleMoves is set.
    void record(MouseAction action, int32_t x, int32_t y, bool changedNothing = false);
    // A frame has run; the events before it reach the file now.
    void frameRan();
    // Writes the events since the last frame and the end line with the last frame's columns (none
    // when no frame ran), then closes the file. False when the recording failed at any point.
    bool finish();

    // The replay as finishing now would leave it, while the session goes on recording: what the
    // file holds, the events since the last frame and the end line of the last frame run (a page
    // hands this to its player). Nothing, with why in `error`, once the recording has failed or
    // finished, or when the file no longer holds what was written to it.
    std::optional<std::string> textSoFar(std::string& error);

    int32_t framesRun() const { return framesRun_; }
    // Keep the moves that change nothing, as a measure of what leaving them out saves.
    bool keepIdleMoves = false;

private:
    ReplayRecorder(int descriptor, std::string path, std::ostream& warnings);
    // Hands `text` to the file. After a failure, says so once, cuts the file back to its last whole
    // line and stops recording.
    void write(const std::string& text);
    void writePending();
    void close();
    void keepLastFrameColumns();

    int descriptor_ = -1;
    std::string path_;
    std::ostream& warnings_;
    std::string pending_;
    int64_t bytesWritten_ = 0;
    bool failed_ = false;
    int32_t framesRun_ = 0;
    ColumnsNow columnsNow_;
    std::optional<TraceColumns> lastFrame_;  // nothing until asked for after the last frame
};

}  // namespace qv::replay
