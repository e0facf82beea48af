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

#include "game/sand_game.h"
#include "image/bmp_writer.h"
#include "input_file.h"
#include "input_script.h"
#include "support/mt19937.h"
#include "trace.h"

namespace qv::headless {

namespace {

// The script's events, or the status of a run that must not start: a script that cannot be
// opened or has a bad line is a bad invocation; one that fails while it is read is a failed run.
std::variant<std::vector<ScriptEvent>, int> loadScript(const std::string& path, std::ostream& errors) {
    if (path.empty()) {
        return std::vector<ScriptEvent>{};
    }
    InputFile file(path);
    if (!file.isOpen()) {
        errors << "quorvantile-headless: cannot open the input script '" << path << "': " << std::strerror(file.error())
               << '\n';
        return kBadInvocation;
    }
    std::istream input(&file);
    std::string error;
    auto events = parseInputScript(input, error);
    if (file.error() != 0) {
        errors << "quorvantile-headless: cannot read the input script '" << path << "': " << std::strerror(file.error())
               << '\n';
        return kRunFailed;
    }
    if (!events) {
        errors << "quorvantile-headless: " << path << ": " << error << '\n';
        return kBadInvocation;
    }
    return std::move(*events);
}

void deliver(SandGame& game, const ScriptEvent& event) {
    switch (event.action) {
        case MouseAction::Move: game.onMouseMove(event.x, event.y); break;
        case MouseAction::LeftDown: game.onLButtonDown(event.x, event.y); break;
        case MouseAction::RightDown: game.onRButtonDown(event.x, event.y); break;
        case MouseAction::LeftUp: game.onLButtonUp(event.x, event.y); break;
        case MouseAction::RightUp: game.onRButtonUp(event.x, event.y); break;
    }
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

}  // namespace

int runHeadless(const Options& options, std::ostream& standardOutput, std::ostream& errors) {
    const auto script = loadScript(options.inputPath, errors);
    if (const int* status = std::get_if<int>(&script)) {
        return *status;
    }
    const auto* events = std::get_if<std::vector<ScriptEvent>>(&script);
    TraceSink trace;
    if (!trace.open(options.tracePath, standardOutput, errors)) {
        return kRunFailed;
    }

    if (options.pictureEvery > 0) {
        std::error_code error;
        std::filesystem::create_directories(options.pictureDir, error);
        if (error) {
            errors << "quorvantile-headless: cannot make the picture folder '" << options.pictureDir
                   << "': " << error.message() << '\n';
            return kRunFailed;
        }
    }

    auto game = std::make_unique<SandGame>();
    sharedRandom().seed(options.seed);
    if (!game->initialise()) {
        errors << game->startUpError << '\n';
        return kRunFailed;
    }

    if (!trace.write(traceHeader(), errors)) {
        return kRunFailed;
    }
    auto nextEvent = events->begin();
    for (int32_t frame = 1; frame <= options.frames; ++frame) {
        for (; nextEvent != events->end() && nextEvent->frame == frame; ++nextEvent) {
            deliver(*game, *nextEvent);
        }
        game->onFrame();
        if (!trace.write(traceLine(frame, *game), errors)) {
            return kRunFailed;
        }
        if (options.pictureEvery > 0 && frame % options.pictureEvery == 0 &&
            !writePicture(*game, numberedPicturePath(options.pictureDir, frame), errors)) {
            return kRunFailed;
        }
    }
    if (!options.picturePath.empty() && !writePicture(*game, options.picturePath, errors)) {
        return kRunFailed;
    }
    return kRunOk;
}

}  // namespace qv::headless
