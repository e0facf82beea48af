#include "app/program_folder.h"

namespace qv {

// A page has no program file on disk: its pictures lie in the current folder of the page's own file
// system, where the page puts them before the game starts.
std::filesystem::path programFolder() {
    return {};
}

}  // namespace qv
