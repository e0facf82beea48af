#include "app/presenter.h"

#include <SDL.h>

#include <array>

#include "app/desktop_facts.h"
#include "app/presentation.h"

namespace qv {

namespace {

// Paints black what the surface shows around the client area's region, whose corner is at
// (left, top): the bands above and below it, and beside it.
void blackOutAround(SDL_Surface& surface, int32_t left, int32_t top, const PixelDestination& region) {
    const Uint32 black = SDL_MapRGB(surface.format, 0, 0, 0);
    const int32_t below = top + region.height;
    const int32_t right = left + region.width;
    const SDL_Rect margins[] = {{0, 0, surface.w, top},
                                {0, below, surface.w, surface.h - below},
                                {0, top, left, region.height},
                                {right, top, surface.w - right, region.height}};
    for (const SDL_Rect& margin : margins) {
        if (margin.w > 0 && margin.h > 0) {
            SDL_FillRect(&surface, &margin, black);
        }
    }
}

class WindowSurfacePresenter : public Presenter {
public:
    WindowSurfacePresenter(SDL_Window* window, PixelSize client) : window_(window), client_(client) {}

    PixelSize outputSize() const override {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        return {width, height};
    }

    bool present(const BackBuffer& picture) override {
        SDL_Surface* surface = lockedSurface();
        if (surface == nullptr) {
            return false;
        }
        const Placement placement = placementIn(*surface);
        blackOutAround(*surface, placement.fit.left, placement.fit.top, placement.region);
        copyPicture(picture, placement.region, placement.fit.scale);
        unlock(*surface);
        shown_ = SDL_UpdateWindowSurface(window_) == 0 ? SurfaceFacts::of(*surface) : SurfaceFacts{};
        return shown_.surface != nullptr;
    }

    bool presentRows(const BackBuffer& picture, const std::vector<RowSpan>& rows) override {
        SDL_Surface* surface = lockedSurface();
        if (surface == nullptr) {
            return false;
        }
        if (!(SurfaceFacts::of(*surface) == shown_)) {  // a new surface holds nothing shown yet
            unlock(*surface);
            return present(picture);
        }
        const Placement placement = placementIn(*surface);
        std::vector<SDL_Rect> written = copyPictureRows(picture, placement.region, placement.fit.scale, rows);
        unlock(*surface);
        for (SDL_Rect& rectangle : written) {
            rectangle.x += placement.fit.left;
            rectangle.y += placement.fit.top;
        }
        return written.empty() ||
               SDL_UpdateWindowSurfaceRects(window_, written.data(), static_cast<int>(written.size())) == 0;
    }
    const char* pathName() const override { return "window surface"; }

private:
    // What tells a surface apart from the one SDL made before it.
    struct SurfaceFacts {
        const SDL_Surface* surface = nullptr;
        const void* pixels = nullptr;
        int width = 0;
        int height = 0;
        static SurfaceFacts of(const SDL_Surface& shown) { return {&shown, shown.pixels, shown.w, shown.h}; }
        bool operator==(const SurfaceFacts&) const = default;
    };

    // Where the client area goes in a surface of the window's size, which full screen makes larger.
    struct Placement {
        PictureFit fit;
        PixelDestination region;
    };
    Placement placementIn(SDL_Surface& surface) const {
        const PictureFit fit = fitPicture(surface.w, surface.h, client_.width, client_.height);
        return {fit, fittedRegion(surfacePixels(surface), fit, client_)};
    }

    // The surface is asked for anew every time: SDL replaces it when the window changes.
    SDL_Surface* lockedSurface() const {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (surface == nullptr || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)) {
            return nullptr;
        }
        return surface;
    }
    static void unlock(SDL_Surface& surface) {
        if (SDL_MUSTLOCK(&surface)) {
            SDL_UnlockSurface(&surface);
        }
    }

    SDL_Window* window_;
    PixelSize client_;
    SurfaceFacts shown_;  // the surface the whole picture went into last
};

// The picture goes into a streaming texture of the client area's size, and the renderer enlarges it
// with nearest-neighbour sampling to the largest whole scale that fits its output, centred on black.
// The output is the window, or under Wayland on an output of scale s the window's s x s times as
// many physical pixels, so every back-buffer pixel becomes one crisp block either way. That halves
// the bytes handed to the graphics library: measured under software OpenGL at scale 2, a quarter
// less processor time than a texture of the window's size filled by the processor's own scaling
// step (and a graphics processor enlarges for free).
class TexturePresenter : public Presenter {
public:
    TexturePresenter(SDL_Renderer* renderer, SDL_Texture* texture, SDL_PixelFormat* format, int32_t width,
                     int32_t height)
        : renderer_(renderer, SDL_DestroyRenderer),
          texture_(texture, SDL_DestroyTexture),
          format_(format, SDL_FreeFormat),
          width_(width),
          height_(height) {}
    ~TexturePresenter() override {
        texture_.reset();  // before its renderer
    }

    PixelSize outputSize() const override {
        int width = 0;
        int height = 0;
        SDL_GetRendererOutputSize(renderer_.get(), &width, &height);
        return {width, height};
    }

    bool present(const BackBuffer& picture) override {
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) != 0) {
            return false;
        }
        copyPicture(picture, {static_cast<uint8_t*>(pixels), pitch, width_, height_, format_.get()}, 1);
        SDL_UnlockTexture(texture_.get());
        const PixelSize output = outputSize();
        const PictureFit fit = fitPicture(output.width, output.height, width_, height_);
        const SDL_Rect shown{fit.left, fit.top, width_ * fit.scale, height_ * fit.scale};
        // The renderer's buffers hold nothing from one frame to the next: the margins are drawn anew.
        SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, SDL_ALPHA_OPAQUE);
        if (SDL_RenderClear(renderer_.get()) != 0 ||
            SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &shown) != 0) {
            return false;
        }
        SDL_RenderPresent(renderer_.get());
        return true;
    }
    const char* pathName() const override { return "texture"; }

private:
    std::unique_ptr<SDL_Renderer, decltype(&SDL_DestroyRenderer)> renderer_;
    std::unique_ptr<SDL_Texture, decltype(&SDL_DestroyTexture)> texture_;
    std::unique_ptr<SDL_PixelFormat, decltype(&SDL_FreeFormat)> format_;
    int32_t width_;
    int32_t height_;
};

std::unique_ptr<Presenter> makeWindowSurfacePresenter(SDL_Window* window, PixelSize client, std::string& error) {
    if (SDL_GetWindowSurface(window) == nullptr) {
        const char* reason = SDL_GetError();
        const bool explained = reason != nullptr && *reason != '\0';
        error = std::string("the window has no surface") + (explained ? std::string(": ") + reason : "");
        return nullptr;
    }
    return std::make_unique<WindowSurfacePresenter>(window, client);
}

std::unique_ptr<Presenter> makeTexturePresenter(SDL_Window* window, PixelSize client, std::string& error) {
    // The software renderer draws into the window surface, which is what this path does without.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == nullptr) {
        error = std::string("no renderer: ") + SDL_GetError();
        return nullptr;
    }
    constexpr Uint32 kFormat = SDL_PIXELFORMAT_RGB888;  // 8-bit channels, blue in the low byte
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, kFormat, SDL_TEXTUREACCESS_STREAMING, client.width, client.height);
    SDL_PixelFormat* format = texture != nullptr ? SDL_AllocFormat(kFormat) : nullptr;
    if (format == nullptr) {
        error = std::string("no texture: ") + SDL_GetError();
        if (texture != nullptr) SDL_DestroyTexture(texture);
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return std::make_unique<TexturePresenter>(renderer, texture, format, client.width, client.height);
}

// Measured with tools/present_cpu under a virtual X server: the window surface costs a tenth of the
// texture's processor time (a texture means OpenGL, in software where there is no graphics
// processor). SDL's Wayland driver has no window surface of its own, so there the texture it is.
std::array<PresentingPath, 2> pathsToTry(PresentingPath path) {
    if (path == PresentingPath::texture) {
        return {PresentingPath::texture, PresentingPath::texture};
    }
    if (path == PresentingPath::windowSurface) {
        return {PresentingPath::windowSurface, PresentingPath::windowSurface};
    }
    if (onWaylandDriver()) {
        return {PresentingPath::texture, PresentingPath::windowSurface};
    }
    return {PresentingPath::windowSurface, PresentingPath::texture};
}

}  // namespace

std::unique_ptr<Presenter> makePresenter(SDL_Window* window, int32_t clientWidth, int32_t clientHeight,
                                         PresentingPath path, std::string& error) {
    if (window == nullptr || clientWidth < 1 || clientHeight < 1) {
        error = "no window to present to";
        return nullptr;
    }
    const PixelSize client{clientWidth, clientHeight};
    std::string reasons;
    for (const PresentingPath candidate : pathsToTry(path)) {
        std::string reason;
        auto presenter = candidate == PresentingPath::texture ? makeTexturePresenter(window, client, reason)
                                                              : makeWindowSurfacePresenter(window, client, reason);
        if (presenter) {
            return presenter;
        }
        if (reasons.find(reason) == std::string::npos) {
            reasons += (reasons.empty() ? "" : "; ") + reason;
        }
    }
    error = reasons;
    return nullptr;
}

}  // namespace qv
