// Waiting for the next event on the desktop: SDL's own wait sleeps in the
// window system until something arrives (see frame.hpp).
#include "gfx/frame.hpp"

namespace hangman {

bool wait_event(SDL_Event& event)
{
    return SDL_WaitEvent(&event) != 0;
}

}  // namespace hangman
