#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// Writes `bytes` as the whole of the file `path`, without ever removing or replacing what the
// program did not create:
// - a new file, or an existing regular file, is written to a temporary file in the same folder
//   that is renamed over the path only once it is complete, so that a failed write leaves an old
//   file as it was (a replaced file keeps its permissions);
// - anything else that exists (a device, a named pipe, a symbolic link such as /dev/stdout) is
//   written in place, and left where it is when the write fails.
// True on success; otherwise *error (when given) names the file and the system's reason.
bool writeWholeFile(const std::string& path, std::span<const uint8_t> bytes, std::string* error);

}  // namespace qv
