// What Linux and Windows share of the platform (see platform.hpp).
#include "gfx/platform.hpp"

#include "gfx/media.hpp"

namespace hangman {

namespace {

bool maximised_before_fullscreen = false;

}  // namespace

void platform_prepare()
{
    // Read by SDL on Windows only: with it SDL declares the game aware of
    // each monitor's scale (as its manifest does) and counts the window in
    // points, so that on a display at 200 % the window keeps its size and the
    // game draws into its 1280 x 960 pixels, instead of Windows stretching a
    // 640 x 480 picture.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    // The click that brings the window to the front also presses what it
    // lands on, as in any other program.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

Uint32 platform_window_flags()
{
    return SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
}

bool platform_toggle_fullscreen()
{
    const Uint32 flags = SDL_GetWindowFlags(window);
    if ((flags & SDL_WINDOW_FULLSCREEN) == 0) {
        maximised_before_fullscreen = (flags & SDL_WINDOW_MAXIMIZED) != 0;
        return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    // Back to the state the window had: window managers bring back the
    // size, but not always that it was maximised.
    const bool left = SDL_SetWindowFullscreen(window, 0) == 0;
    if (left && maximised_before_fullscreen) {
        SDL_MaximizeWindow(window);
    }
    return left;
}

// SDL's own wait sleeps in the window system until something arrives.
bool platform_wait_event(SDL_Event& event)
{
    return SDL_WaitEvent(&event) != 0;
}

int platform_end(int status)
{
    return status;
}

// The desktop's window speaks for itself, and its program keeps the thread.
void platform_pause() {}
void platform_presented() {}
void platform_screen(const char*) {}

}  // namespace hangman
