#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Where the game looks for its pictures: the current directory first, by the bare name, so that a
// player's own pictures there always win; then the data folders of the installed game, in order.
class PictureLookup {
public:
    // The current directory alone, as the headless runner and the tests use it.
    PictureLookup() = default;
    explicit PictureLookup(std::vector<std::filesystem::path> dataFolders);

    // What to open for `name`: the bare name when the current directory holds an entry of that name,
    // else the path in the first data folder that holds one; nothing when no place does. An entry
    // that cannot be read still counts as there, so that its fault is reported instead of hidden by
    // a picture from somewhere else.
    std::optional<std::filesystem::path> find(std::string_view name) const;

    // Every place looked, in order, for a failure line:
    // "the current directory (/home/ann), /opt/q/share/games/quorvantile".
    std::string placesLooked() const;

    const std::vector<std::filesystem::path>& dataFolders() const { return dataFolders_; }

private:
    std::vector<std::filesystem::path> dataFolders_;
};

// The data folders of an installed game: first the one at `fromProgram` (relative) from the
// program's own folder, so that an installation moved elsewhere as a whole finds its own pictures;
// then `configured` (absolute), where the installation was meant to be. An empty program folder (not
// known) or an empty path leaves its place out, and a folder already listed is not listed twice.
std::vector<std::filesystem::path> installedDataFolders(const std::filesystem::path& programFolder,
                                                        const std::filesystem::path& fromProgram,
                                                        const std::filesystem::path& configured);

}  // namespace qv
