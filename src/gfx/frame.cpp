// The shared drawing steps of the screen loops (see frame.hpp).
#include "gfx/frame.hpp"

#include <cmath>

#include "gfx/media.hpp"
#include "platform/platform.hpp"

namespace hangman {

namespace {

constexpr int fallback_refresh_rate = 60;

bool pacing = true;
unsigned long presented = 0;
Uint64 previous_frame = 0;  // performance counter when the last frame was done

// Unless the window has exactly the picture's pixels, the screens draw into
// `picture`, and the present scales it to the window. A whole-number scale
// copies each pixel to a square of pixels. Between whole numbers, the
// picture is first enlarged that way to the next whole number (`enlarged`)
// and then reduced smoothly to its size: edges stay sharp, with at most one
// pixel of blend, where smoothing the picture itself would blur its thin
// lines and text, and copying pixels alone would make them uneven.
SDL_Texture* picture = nullptr;
SDL_Texture* enlarged = nullptr;
int enlarged_factor = 0;
bool into_picture = false;  // the frame being drawn goes into `picture`

SDL_Point output_size()
{
    SDL_Point size = {0, 0};
    SDL_GetRendererOutputSize(renderer, &size.x, &size.y);
    return size;
}

// A texture to draw into, `factor` times the picture's size; nullptr when the
// renderer cannot make one.
SDL_Texture* make_target(int factor, SDL_ScaleMode mode)
{
    SDL_Texture* target =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                          factor * window_width, factor * window_height);
    if (target != nullptr) {
        SDL_SetTextureScaleMode(target, mode);
    }
    return target;
}

// Copies the picture into `view` of the window, smoothly where the scale is
// not a whole number. (A texture's filter counts when the renderer runs its
// queued copies, so each copy of the picture sets the one it needs.)
void show_picture(const SDL_Rect& view)
{
    const int factor = (view.w + window_width - 1) / window_width;
    const bool whole = view.w == factor * window_width && view.h == factor * window_height;
    if (!whole && factor > 1 && enlarged_factor != factor) {
        if (enlarged != nullptr) {
            SDL_DestroyTexture(enlarged);
        }
        enlarged = make_target(factor, SDL_ScaleModeLinear);
        enlarged_factor = enlarged != nullptr ? factor : 0;
    }
    SDL_Texture* source = picture;
    if (!whole && factor > 1 && enlarged != nullptr) {
        SDL_SetTextureScaleMode(picture, SDL_ScaleModeNearest);
        SDL_SetRenderTarget(renderer, enlarged);
        SDL_RenderCopy(renderer, picture, nullptr, nullptr);
        SDL_SetRenderTarget(renderer, nullptr);
        source = enlarged;
    }
    SDL_SetTextureScaleMode(source, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_RenderCopy(renderer, source, nullptr, &view);
}

// The length of one display refresh, in ticks of a counter of `frequency`.
Uint64 refresh_period(Uint64 frequency)
{
    int rate = fallback_refresh_rate;
    SDL_DisplayMode mode{};
    const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : -1;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        rate = mode.refresh_rate;
    }
    return frequency / static_cast<Uint64>(rate);
}

// Sleeps whatever is left of one refresh since the previous frame. Less than
// a millisecond left is vsync's own jitter and is not slept.
void pace()
{
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = refresh_period(frequency);
    Uint64 now = SDL_GetPerformanceCounter();
    if (previous_frame != 0 && now - previous_frame < period) {
        const Uint64 left = period - (now - previous_frame);
        const Uint32 ms = static_cast<Uint32>(left * 1000 / frequency);
        if (ms > 0) {
            SDL_Delay(ms);
            now = SDL_GetPerformanceCounter();
        }
    }
    previous_frame = now;
}

}  // namespace

bool window_visible()
{
    return window == nullptr ||
           (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

SDL_Rect picture_view(int output_width, int output_height)
{
    SDL_Rect view = {0, 0, output_width, output_height};
    if (static_cast<long long>(output_width) * window_height >
        static_cast<long long>(output_height) * window_width) {
        view.w =
            static_cast<int>(static_cast<long long>(output_height) * window_width / window_height);
    } else {
        view.h =
            static_cast<int>(static_cast<long long>(output_width) * window_height / window_width);
    }
    view.x = (output_width - view.w) / 2;
    view.y = (output_height - view.h) / 2;
    return view;
}

SDL_Point pointer_in_picture()
{
    SDL_Point pointer = {0, 0};
    SDL_GetMouseState(&pointer.x, &pointer.y);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const SDL_Point output = output_size();
    if (width <= 0 || height <= 0 || output.x <= 0 || output.y <= 0) {
        return pointer;
    }
    // The pointer is in the window's points, which may be fewer than its pixels.
    const SDL_Rect view = picture_view(output.x, output.y);
    if (view.w <= 0 || view.h <= 0) {
        return {-1, -1};  // a window too small to show a pixel of the picture
    }
    const double x = (pointer.x * static_cast<double>(output.x) / width - view.x) / view.w;
    const double y = (pointer.y * static_cast<double>(output.y) / height - view.y) / view.h;
    return {static_cast<int>(std::floor(x * window_width)),
            static_cast<int>(std::floor(y * window_height))};
}

void clear_frame()
{
    const SDL_Point output = output_size();
    into_picture = output.x != window_width || output.y != window_height;
    if (into_picture && picture == nullptr) {
        picture = make_target(1, SDL_ScaleModeNearest);
    }
    // Without a texture to draw into, the picture goes to the window unscaled.
    into_picture = into_picture && picture != nullptr;
    SDL_SetRenderTarget(renderer, into_picture ? picture : nullptr);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
}

void present_frame()
{
    if (into_picture) {
        SDL_SetRenderTarget(renderer, nullptr);
        const SDL_Point output = output_size();
        SDL_SetRenderDrawColor(renderer, letterbox_colour.r, letterbox_colour.g, letterbox_colour.b,
                               letterbox_colour.a);
        SDL_RenderClear(renderer);
        show_picture(picture_view(output.x, output.y));
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    }
    SDL_RenderPresent(renderer);
    ++presented;
    platform_presented();
    if (pacing) {
        pace();
    }
}

unsigned long frames_presented()
{
    return presented;
}

void set_frame_pacing(bool on)
{
    pacing = on;
    previous_frame = 0;
}

void free_frame()
{
    for (SDL_Texture** texture : {&enlarged, &picture}) {
        if (*texture != nullptr) {
            SDL_DestroyTexture(*texture);
            *texture = nullptr;
        }
    }
    enlarged_factor = 0;
    into_picture = false;
}

}  // namespace hangman
