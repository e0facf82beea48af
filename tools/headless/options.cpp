#include "options.h"

#include <limits>

#include "movie.h"
#include "replay/whole_number.h"

namespace qv::headless {

namespace {

class Parser {
public:
    Parser(std::span<const std::string_view> arguments, std::string& error) : arguments_(arguments), error_(error) {}

    std::optional<Options> parse() {
        Options options;
        bool seedGiven = false;
        bool movieEveryGiven = false;
        while (position_ < arguments_.size()) {
            const std::string_view option = arguments_[position_++];
            bool ok = false;
            if (option == "--seed") {
                ok = seedGiven = number(option, options.seed, 0u, std::numeric_limits<uint32_t>::max());
            } else if (option == "--frames") {
                ok = options.framesGiven = number(option, options.frames, 0, std::numeric_limits<int32_t>::max());
            } else if (option == "--input") {
                ok = text(option, options.inputPath);
            } else if (option == "--replay") {
                ok = text(option, options.replayPath);
            } else if (option == "--trace") {
                ok = text(option, options.tracePath);
            } else if (option == "--picture") {
                ok = text(option, options.picturePath);
            } else if (option == "--picture-every") {
                ok = number(option, options.pictureEvery, 1, std::numeric_limits<int32_t>::max());
            } else if (option == "--picture-dir") {
                ok = text(option, options.pictureDir);
            } else if (option == "--movie") {
                ok = text(option, options.moviePath);
            } else if (option == "--movie-every") {
                ok = movieEveryGiven = number(option, options.movieEvery, 1, Movie::kMostFramesApart);
            } else {
                return fail("unknown option '" + std::string(option) + "'");
            }
            if (!ok) {
                return std::nullopt;
            }
        }
        if (!options.replayPath.empty() && (seedGiven || !options.inputPath.empty())) {
            return fail("--replay takes the seed and the events from its file: leave out --seed and --input");
        }
        if (options.replayPath.empty() && !options.framesGiven) {
            return fail("--frames is required without --replay");
        }
        if ((options.pictureEvery > 0) != !options.pictureDir.empty()) {
            return fail("--picture-every and --picture-dir go together");
        }
        if (movieEveryGiven && options.moviePath.empty()) {
            return fail("--movie-every goes with --movie");
        }
        return options;
    }

private:
    std::optional<std::string_view> value(std::string_view option) {
        if (position_ >= arguments_.size()) {
            fail("option '" + std::string(option) + "' needs a value");
            return std::nullopt;
        }
        return arguments_[position_++];
    }

    bool text(std::string_view option, std::string& target) {
        const auto given = value(option);
        if (!given) {
            return false;
        }
        if (given->empty()) {
            fail("option '" + std::string(option) + "' needs a non-empty value");
            return false;
        }
        target = std::string(*given);
        return true;
    }

    template <typename Number>
    bool number(std::string_view option, Number& target, Number low, Number high) {
        const auto given = value(option);
        if (!given) {
            return false;
        }
        const auto parsed = replay::parseWholeNumber<Number>(*given, low, high);
        if (!parsed) {
            fail("option '" + std::string(option) + "' takes a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not '" + std::string(*given) + "'");
            return false;
        }
        target = *parsed;
        return true;
    }

    std::nullopt_t fail(const std::string& message) {
        error_ = message;
        return std::nullopt;
    }

    std::span<const std::string_view> arguments_;
    std::string& error_;
    std::size_t position_ = 0;
};

}  // namespace

std::optional<Options> parseOptions(std::span<const std::string_view> arguments, std::string& error) {
    return Parser(arguments, error).parse();
}

}  // namespace qv::headless
