// What Linux and Windows share of the platform (see platform.hpp).
#include "platform/platform.hpp"

namespace hangman {

namespace {

bool maximised_before_fullscreen = false;

}  // namespace

Uint32 platform_window_flags()
{
    return SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
}

bool platform_toggle_fullscreen(SDL_Window* window)
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

bool platform_keyboard_moved(bool&)
{
    return false;
}

}  // namespace hangman
