#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/back_buffer.h"
#include "app/changed_rows.h"
#include "app/picture_fit.h"
#include "app/presenting_path.h"

struct SDL_Window;

namespace qv {

// Shows back buffers in one window: the client area at the largest whole scale that fits what the
// window shows, centred on black (a window of k times the client area shows every back-buffer pixel
// as a k x k block; on a Wayland output of scale s, of k * s physical pixels each way).
class Presenter {
public:
    virtual ~Presenter() = default;
    // How many pixels the window shows now, each way; the client area is fitted into them.
    virtual PixelSize outputSize() const = 0;
    // Copies `picture` into the window and shows it; false when the window system refused.
    virtual bool present(const BackBuffer& picture) = 0;
    // Like present, for the picture rows `rows` alone (from its top, top to bottom); the window
    // keeps the rest as last shown. A presenter that cannot keep it shows the whole picture.
    virtual bool presentRows(const BackBuffer& picture, const std::vector<RowSpan>& /*rows*/) {
        return present(picture);
    }
    virtual const char* pathName() const = 0;
};

// A presenter for `window`, whose client area is clientWidth x clientHeight, on the given path;
// `automatic` takes the path that costs least on the current video driver and falls back to the
// other. Null, with the reason in `error`, when the window cannot be presented to at all.
std::unique_ptr<Presenter> makePresenter(SDL_Window* window, int32_t clientWidth, int32_t clientHeight,
                                         PresentingPath path, std::string& error);

}  // namespace qv
