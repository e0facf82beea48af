// The runner for Node is built without libwebp: it refuses a movie before the run starts.
#include "movie.h"

namespace qv::headless {

struct Movie::Encoder {};

Movie::Movie() = default;
Movie::~Movie() = default;

bool Movie::open(const std::string& path, int32_t /*framesApart*/, std::string& error) {
    error = "cannot make the movie '" + path + "': this build of the runner has no WebP encoder; use the native one";
    return false;
}

bool Movie::addFrame(int32_t /*frame*/, const BackBuffer& /*picture*/, std::string& /*error*/) { return false; }

bool Movie::finish(std::string& /*error*/) { return false; }

}  // namespace qv::headless
