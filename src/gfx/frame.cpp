// The shared steps of the screen loops (see frame.hpp).
#include "gfx/frame.hpp"

#include "gfx/media.hpp"

namespace hangman {

namespace {

constexpr int fallback_refresh_rate = 60;

bool pacing = true;
Uint64 previous_frame = 0;  // performance counter when the last frame was done

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

bool next_event(SDL_Event& event, bool may_wait)
{
    if (SDL_PollEvent(&event) != 0) {
        return true;
    }
    // The event is handled by the caller like any other; the drain goes on
    // until the window is visible again and the queue is empty.
    return may_wait && !window_visible() && wait_event(event);
}

void clear_frame()
{
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
}

void present_frame()
{
    SDL_RenderPresent(renderer);
    if (pacing) {
        pace();
    }
}

void set_frame_pacing(bool on)
{
    pacing = on;
    previous_frame = 0;
}

}  // namespace hangman
