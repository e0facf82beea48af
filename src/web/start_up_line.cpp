#include "web/start_up_line.h"

namespace qv::web {

namespace {

// How the game ends a picture failure: the places it looked in, or the folder of a bad file.
constexpr std::string_view kPlacesLooked = "; looked in ";
constexpr std::string_view kFolderOfBadFile = "; the file is in the current directory";

}  // namespace

std::string pageStartUpLine(std::string_view line) {
    if (const auto at = line.find(kPlacesLooked); at != std::string_view::npos) {
        return std::string(line.substr(0, at));
    }
    if (const auto at = line.find(kFolderOfBadFile); at != std::string_view::npos) {
        return std::string(line.substr(0, at)) + "; it is the copy beside index.html on the server";
    }
    return std::string(line);
}

}  // namespace qv::web
