// The Back button that the difficulty and options screens share.
#pragma once

#include <SDL.h>

namespace hangman {

// Feeds the event to Back; true when it pressed Back (the press is printed
// in developer mode).
bool back_pressed(const SDL_Event& event);

}  // namespace hangman
