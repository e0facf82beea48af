#include "app/presenter.h"

#include <SDL.h>

#include <array>

#include "app/desktop_facts.h"
#include "app/presentation.h"

namespace qv {

namespace {

class WindowSurfacePresenter : public Presenter {
public:
    WindowSurfacePresenter(SDL_Window* window, int32_t scale) : window_(window), scale_(scale) {}

    bool present(const BackBuffer& picture) override {
        SDL_Surface* surface = lockedSurface();
        if (surface == nullptr) {
            return false;
        }
        copyToSurface(picture, *surface, scale_);
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
        const std::vector<SDL_Rect> written = copyPictureRows(picture, surfacePixels(*surface), scale_, rows);
        unlock(*surface);
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
    int32_t scale_;
    SurfaceFacts shown_;  // the surface the whole picture went into last
};

// The picture goes into a streaming texture of the client area's size, and the renderer enlarges it
// to its whole output with nearest-neighbour sampling. The output is the window, or under Wayland on
// an output of scale s the window's s x s times as many physical pixels, so every back-buffer pixel
// becomes one crisp block either way. That halves the bytes handed to the graphics
// library: measured under software OpenGL at scale 2, a quarter less processor time than a texture
// of the window's size filled by the processor's own scaling step (and a graphics processor
// enlarges for free).
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

    bool present(const BackBuffer& picture) override {
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) != 0) {
            return false;
        }
        copyPicture(picture, {static_cast<uint8_t*>(pixels), pitch, width_, height_, format_.get()}, 1);
        SDL_UnlockTexture(texture_.get());
        if (SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr) != 0) {
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

std::unique_ptr<Presenter> makeWindowSurfacePresenter(SDL_Window* window, int32_t scale, std::string& error) {
    if (SDL_GetWindowSurface(window) == nullptr) {
        const char* reason = SDL_GetError();
        const bool explained = reason != nullptr && *reason != '\0';
        error = std::string("the window has no surface") + (explained ? std::string(": ") + reason : "");
        return nullptr;
    }
    return std::make_unique<WindowSurfacePresenter>(window, scale);
}

std::unique_ptr<Presenter> makeTexturePresenter(SDL_Window* window, int32_t scale, std::string& error) {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    const int32_t width = windowWidth / scale;
    const int32_t height = windowHeight / scale;
    // The software renderer draws into the window surface, which is what this path does without.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == nullptr) {
        error = std::string("no renderer: ") + SDL_GetError();
        return nullptr;
    }
    constexpr Uint32 kFormat = SDL_PIXELFORMAT_RGB888;  // 8-bit channels, blue in the low byte
    SDL_Texture* texture = SDL_CreateTexture(renderer, kFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
    SDL_PixelFormat* format = texture != nullptr ? SDL_AllocFormat(kFormat) : nullptr;
    if (format == nullptr) {
        error = std::string("no texture: ") + SDL_GetError();
        if (texture != nullptr) SDL_DestroyTexture(texture);
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return std::make_unique<TexturePresenter>(renderer, texture, format, width, height);
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

std::unique_ptr<Presenter> makePresenter(SDL_Window* window, int32_t scale, PresentingPath path, std::string& error) {
    if (window == nullptr || scale < 1) {
        error = "no window to present to";
        return nullptr;
    }
    std::string reasons;
    for (const PresentingPath candidate : pathsToTry(path)) {
        std::string reason;
        auto presenter = candidate == PresentingPath::texture ? makeTexturePresenter(window, scale, reason)
                                                              : makeWindowSurfacePresenter(window, scale, reason);
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
