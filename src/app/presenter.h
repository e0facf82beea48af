#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/back_buffer.h"
#include "app/changed_rows.h"
#include "app/presenting_path.h"

struct SDL_Window;

namespace qv {

// Shows back buffers in one window, every back-buffer pixel as a scale x scale block of window units
// (on a Wayland output of scale s, a block of scale * s physical pixels each way).
class Presenter {
public:
    virtual ~Presenter() = default;
    // Copies `picture` into the window and shows it; false when the window system refused.
    virtual bool present(const BackBuffer& picture) = 0;
    // Like present, for the picture rows `rows` alone (from its top, top to bottom); the window
    // keeps the rest as last shown. A presenter that cannot keep it shows the whole picture.
    virtual bool presentRows(const BackBuffer& picture, const std::vector<RowSpan>& /*rows*/) {
        return present(picture);
    }
    virtual const char* pathName() const = 0;
};

// A presenter for `window` on the given path; `automatic` takes the path that costs least on the
// current video driver and falls back to the other. Null, with the reason in `error`, when the
// window cannot be presented to at all.
std::unique_ptr<Presenter> makePresenter(SDL_Window* window, int32_t scale, PresentingPath path, std::string& error);

}  // namespace qv
