#include "game/picture_lookup.h"

#include <algorithm>
#include <system_error>

namespace qv {

namespace fs = std::filesystem;

namespace {

// Anything but a plain "no such entry" counts as there: a dangling link, a folder of that name or
// an entry we may not look at is then opened, and the reason it fails is what the player reads.
bool holdsEntry(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error) {
        return error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory;
    }
    return status.type() != fs::file_type::not_found;
}

std::string currentDirectory() {
    std::error_code error;
    const fs::path path = fs::current_path(error);
    return error ? std::string("unknown") : path.string();
}

}  // namespace

PictureLookup::PictureLookup(std::vector<fs::path> dataFolders) : dataFolders_(std::move(dataFolders)) {}

std::optional<fs::path> PictureLookup::find(std::string_view name) const {
    const fs::path bareName(name);
    if (holdsEntry(bareName)) {
        return bareName;
    }
    for (const fs::path& folder : dataFolders_) {
        if (holdsEntry(folder / bareName)) {
            return folder / bareName;
        }
    }
    return std::nullopt;
}

std::string PictureLookup::placesLooked() const {
    std::string places = "the current directory (" + currentDirectory() + ")";
    for (const fs::path& folder : dataFolders_) {
        places += ", " + folder.string();
    }
    return places;
}

std::vector<fs::path> installedDataFolders(const fs::path& programFolder, const fs::path& fromProgram,
                                           const fs::path& configured) {
    std::vector<fs::path> folders;
    const auto add = [&folders](const fs::path& folder) {
        // Normal form, without a trailing separator, so that the same folder is recognised.
        fs::path normal = folder.lexically_normal();
        if (normal.has_relative_path() && !normal.has_filename()) {
            normal = normal.parent_path();
        }
        if (std::find(folders.begin(), folders.end(), normal) == folders.end()) {
            folders.push_back(std::move(normal));
        }
    };
    if (!programFolder.empty() && !fromProgram.empty()) {
        add(programFolder / fromProgram);
    }
    if (!configured.empty()) {
        add(configured);
    }
    return folders;
}

}  // namespace qv
