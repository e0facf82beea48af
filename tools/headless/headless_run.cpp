#include "headless_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "game/frame_columns.h"
#include "game/replay_player.h"
#include "game/sand_game.h"
#include "image/bmp_writer.h"
#include "replay/input_file.h"
#include "movie.h"
#include "replay/replay_file.h"
#include "support/mt19937.h"
#include "trace.h"

namespace qv::headless {

namespace {

// What a run plays: the events before their frames, from the seed, for `frames` frames.
struct Session {
    ReplayPlayer player;
    int32_t frames = 0;
};

// What `parse` makes of the file at `path` (a `what`), or the status of a run that must not start:
// a file that cannot be opened or is malformed is a bad invocation; one that fails while it is
// read is a failed run.
template <typename Parse>
auto readFile(const std::string& path, const char* what, Parse parse, std::ostream& errors)
    -> std::variant<typename std::invoke_result_t<Parse, std::istream&, std::string&>::value_type, int> {
    replay::FileFailure failure;
    auto parsed = replay::parseFile(path, parse, failure);
    if (parsed) {
        return std::move(*parsed);
    }
    switch (failure.stage) {
        case replay::FileFailure::Stage::Open:
            errors << "quorvantile-headless: cannot open the " << what << " '" << path << "': " << failure.why << '\n';
            return kBadInvocation;
        case replay::FileFailure::Stage::Read:
            errors << "quorvantile-headless: cannot read the " << what << " '" << path << "': " << failure.why << '\n';
            return kRunFailed;
        case replay::FileFailure::Stage::Text: break;
    }
    errors << "quorvantile-headless: " << path << ": " << failure.why << '\n';
    return kBadInvocation;
}

std::variant<Session, int> loadSession(const Options& options, std::ostream& errors) {
    if (!options.replayPath.empty()) {
        auto replay = readFile(options.replayPath, "replay", replay::parseReplay, errors);
        if (const int* status = std::get_if<int>(&replay)) {
            return *status;
        }
        auto& played = std::get<replay::Replay>(replay);
        const int32_t frames = options.framesGiven ? options.frames : played.lastFrame();
        return Session{ReplayPlayer(std::move(played)), frames};
    }
    std::vector<replay::ScriptEvent> events;
    if (!options.inputPath.empty()) {
        const auto parseScript = [](std::istream& input, std::string& error) { return replay::parseInputScript(input, error); };
        auto script = readFile(options.inputPath, "input script", parseScript, errors);
        if (const int* status = std::get_if<int>(&script)) {
            return *status;
        }
        events = std::move(std::get<std::vector<replay::ScriptEvent>>(script));
    }
    return Session{ReplayPlayer(replay::Replay{options.seed, std::move(events), std::nullopt}), options.frames};
}

bool writePicture(const SandGame& game, const std::string& path, std::ostream& errors) {
    const BackBuffer& buffer = game.backBuffer;
    std::string error;
    if (!writeBmp24(path, buffer.width, buffer.height, buffer.bits, buffer.rowBytes(), &error)) {
        errors << "quorvantile-headless: " << error << '\n';
        return false;
    }
    return true;
}

std::string numberedPicturePath(const std::string& directory, int32_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06d.bmp", frame);
    return directory + name;
}

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// Where the trace goes: nowhere, standard output, or a file of its own. Each line is handed on as
// soon as its frame has run, so that a write that fails stops the run at once, named with the
// system's reason.
class TraceSink {
public:
    bool open(const std::string& path, std::ostream& standardOutput, std::ostream& errors) {
        if (path.empty()) {
            return true;
        }
        if (path == "-") {
            stream_ = &standardOutput;
            name_ = "standard output";
            return true;
        }
        name_ = "'" + path + "'";
        file_.reset(std::fopen(path.c_str(), "w"));
        if (!file_) {
            errors << "quorvantile-headless: cannot write the trace " << name_ << ": " << std::strerror(errno) << '\n';
            return false;
        }
        return true;
    }

    bool write(const std::string& line, std::ostream& errors) {
        errno = 0;
        bool written = true;
        if (file_) {
            written = std::fputs(line.c_str(), file_.get()) >= 0 && std::fputc('\n', file_.get()) != EOF &&
                      std::fflush(file_.get()) == 0;
        } else if (stream_ != nullptr) {
            written = static_cast<bool>(*stream_ << line << '\n' << std::flush);
        }
        if (!written) {
            errors << "quorvantile-headless: cannot write the trace " << name_ << ": "
                   << (errno != 0 ? std::strerror(errno) : "the stream failed") << '\n';
        }
        return written;
    }

private:
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::ostream* stream_ = nullptr;
    std::string name_;
};

// Everything a run writes besides the game: the trace, the pictures and the movie, opened before
// the first frame so that one that cannot be written stops the run before it starts.
class Outputs {
public:
    Outputs(const Options& options, std::ostream& standardOutput, std::ostream& errors)
        : options_(options), standardOutput_(standardOutput), errors_(errors) {}

    bool open() {
        if (!trace_.open(options_.tracePath, standardOutput_, errors_)) {
            return false;
        }
        if (options_.pictureEvery > 0) {
            std::error_code error;
            std::filesystem::create_directories(options_.pictureDir, error);
            if (error) {
                errors_ << "quorvantile-headless: cannot make the picture folder '" << options_.pictureDir
                        << "': " << error.message() << '\n';
                return false;
            }
        }
        return options_.moviePath.empty() || check(movie_.open(options_.moviePath, options_.movieEvery, error_));
    }

    bool beforeFirstFrame() { return trace_.write(traceHeader(), errors_); }

    bool afterFrame(int32_t frame, const SandGame& game) {
        if (!trace_.write(traceLine(frame, game), errors_)) {
            return false;
        }
        if (options_.pictureEvery > 0 && frame % options_.pictureEvery == 0 &&
            !writePicture(game, numberedPicturePath(options_.pictureDir, frame), errors_)) {
            return false;
        }
        return options_.moviePath.empty() || check(movie_.addFrame(frame, game.backBuffer, error_));
    }

    bool afterLastFrame(const SandGame& game) {
        if (!options_.picturePath.empty() && !writePicture(game, options_.picturePath, errors_)) {
            return false;
        }
        return options_.moviePath.empty() || check(movie_.finish(error_));
    }

private:
    bool check(bool done) {
        if (!done) {
            errors_ << "quorvantile-headless: " << error_ << '\n';
        }
        return done;
    }

    const Options& options_;
    std::ostream& standardOutput_;
    std::ostream& errors_;
    TraceSink trace_;
    Movie movie_;
    std::string error_;
};

// A replay's last frame must show what its end line says. A replay cut short has none: the run
// says so and passes, as there is nothing to hold it to.
int checkReplayEnd(const Options& options, const Session& session, const SandGame& game, std::ostream& errors) {
    if (options.replayPath.empty()) {
        return kRunOk;
    }
    const std::optional<replay::TraceColumns>& end = session.player.replay().end;
    if (!end) {
        errors << "quorvantile-headless: " << options.replayPath << " has no end line: ran " << session.frames
               << " frames with nothing to check them against\n";
        return kRunOk;
    }
    const auto difference = replay::firstDifference(*end, frameColumns(session.frames, game));
    if (difference) {
        errors << "quorvantile-headless: " << options.replayPath << ": the run does not end as recorded: "
               << difference->name << " is " << difference->actual << ", the replay's end line says "
               << difference->expected << '\n';
        return kRunFailed;
    }
    return kRunOk;
}

}  // namespace

int runHeadless(const Options& options, std::ostream& standardOutput, std::ostream& errors) {
    auto loaded = loadSession(options, errors);
    if (const int* status = std::get_if<int>(&loaded)) {
        return *status;
    }
    const Session& session = std::get<Session>(loaded);
    if (!options.moviePath.empty() && session.frames < options.movieEvery) {
        errors << "quorvantile-headless: the movie would have no frame: the run has " << session.frames
               << " frames, fewer than --movie-every " << options.movieEvery << '\n';
        return kBadInvocation;
    }
    Outputs outputs(options, standardOutput, errors);
    if (!outputs.open()) {
        return kRunFailed;
    }

    auto game = std::make_unique<SandGame>();
    sharedRandom().seed(session.player.replay().seed);
    if (!game->initialise()) {
        errors << game->startUpError << '\n';
        return kRunFailed;
    }

    if (!outputs.beforeFirstFrame()) {
        return kRunFailed;
    }
    for (int32_t frame = 1; frame <= session.frames; ++frame) {
        session.player.beforeFrame(frame, *game);
        game->onFrame();
        if (!outputs.afterFrame(frame, *game)) {
            return kRunFailed;
        }
    }
    if (!outputs.afterLastFrame(*game)) {
        return kRunFailed;
    }
    return checkReplayEnd(options, session, *game, errors);
}

}  // namespace qv::headless
