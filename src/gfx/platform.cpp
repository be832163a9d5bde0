// The desktop's side of the platform (see platform.hpp).
#include "gfx/platform.hpp"

#include "gfx/media.hpp"

namespace hangman {

void platform_prepare()
{
    // Read by SDL on Windows only: with it SDL declares the game aware of
    // each monitor's scale (as its manifest does) and counts the window in
    // points, so that on a display at 200 % the window keeps its size and the
    // game draws into its 1280 x 960 pixels, instead of Windows stretching a
    // 640 x 480 picture.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
}

Uint32 platform_window_flags()
{
    return SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
}

bool platform_toggle_fullscreen()
{
    const bool fullscreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    return SDL_SetWindowFullscreen(window, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
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

void platform_pause() {}

// The desktop's window speaks for itself.
void platform_drew(const Texture&, const SDL_Rect*) {}
void platform_drew_button(const Button&) {}
void platform_drew_game(const std::string&, const std::vector<unsigned char>&, int, const int*, int)
{
}
void platform_presented() {}

}  // namespace hangman
