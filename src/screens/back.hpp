// The Back button that the difficulty and options screens share.
#pragma once

#include <SDL.h>

#include "gfx/button.hpp"

namespace hangman {

// Feeds the event to Back; true when it pressed Back, with the mouse or as
// `chosen` by the keyboard (the press is printed in developer mode).
bool back_pressed(const SDL_Event& event, const Button* chosen);

}  // namespace hangman
