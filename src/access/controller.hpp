// Game controllers, through SDL's GameController API: each is opened when it
// is plugged in (or found at start-up) and closed when it goes, and the left
// stick steers as the D-pad does. The screens see only button presses.
#pragma once

#include <SDL.h>

namespace hangman {

// Starts SDL's game controller subsystem; false when it cannot, and the game
// then plays without controllers.
bool start_controllers();

// True, after acting on it, for an event the screens never see: a controller
// plugged in or pulled out, a button let go, a stick or trigger moving. A
// push of the left stick past half way is handed on as the press of the
// D-pad button of its direction (`event` is rewritten, and the result is false).
bool take_controller_event(SDL_Event& event);

// Closes every controller and stops the subsystem. Safe to repeat.
void stop_controllers();

}  // namespace hangman
