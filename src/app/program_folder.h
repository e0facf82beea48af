#pragma once

#include <filesystem>

namespace qv {

// The folder that holds the running program's file, with links resolved; empty when the system
// does not say.
std::filesystem::path programFolder();

}  // namespace qv
